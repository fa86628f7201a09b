#pragma once

#include "report/Report.h"

#include <QDialog>
#include <QImage>

class QPushButton;

namespace brivanto {

class RecordEditorAccess;

// What the card print screen and the card preview screen share: a small window that explains
// the operation, takes the editor's first photo when shown, and on its one command fills the
// card, prepares it and runs its last step, then closes.
class CardDialogBase : public QDialog
{
    Q_OBJECT
public:
    // The picture that will be printed, and the built-in substitute for a photo that cannot be had.
    const QImage& logoPicture() const { return imgLogo_; }
    const QImage& substitutePicture() const { return imgTemp_; }
    report::Report& cardReport() { return repDocumento_; }

protected:
    struct Texts
    {
        QString className;
        QString caption;
        QString explanation; // the picture that explains the operation
        QString command;     // the caption of btnStampa
        QString failure;     // the warning when anything fails
    };
    CardDialogBase(RecordEditorAccess& editor, const Texts& texts);

    // Prints the prepared card, or shows it.
    virtual void runLastStep(report::Report& card) = 0;

    void showEvent(QShowEvent* event) override;

private:
    void btnStampaClick();
    void btnAnnullaClick();

    RecordEditorAccess& editor_;
    QString failure_;
    report::Report repDocumento_;
    QImage imgLogo_;
    QImage imgTemp_;
};

} // namespace brivanto
