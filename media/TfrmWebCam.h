#pragma once

#include <QDialog>

class QLabel;

namespace brivanto {

// The capture screen, opened by a photo slot of the record editor with the caller tag that names
// the slot ("foto01" or "foto02"). The camera itself is not there yet: for now the screen says so
// and closes with "Annulla", changing no slot.
class TfrmWebCam : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmWebCam(QWidget* owner);

    void setCallerTag(const QString& tag);
    QString callerTag() const;

private:
    QLabel* lblMemory_;
};

// Opens a fresh capture screen owned by `owner` for the slot named by `tag`, modally, and discards it.
void showCapture(QWidget* owner, const QString& tag);

} // namespace brivanto
