#pragma once

#include <QWidget>

class QLabel;

namespace brivanto {

// The record editor. For now it shows which archive it was given and leads back to the
// launcher; records, photos and tools come in with their own work.
class TfrmCartoline : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmCartoline(QWidget* parent = nullptr);

    // The archive this screen works on: its full path and its name.
    void setArchive(const QString& file, const QString& name);
    QString archiveFile() const;
    QString archiveName() const;

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdEsciClick();

    QLabel* lblFile_;
    QLabel* lblNome_;
};

} // namespace brivanto
