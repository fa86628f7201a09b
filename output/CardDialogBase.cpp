#include "output/CardDialogBase.h"

#include "editor/RecordEditorAccess.h"
#include "output/CardPrint.h"
#include "output/ReportTemplates.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureBox.h"
#include "platform/ScreenKeys.h"
#include "shell/Screen.h"

#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

namespace brivanto {
namespace {

constexpr int ClientWidth = 364;
constexpr int ClientHeight = 287;
constexpr QSize SubstituteSize(297, 184);

// The blue euro sign that stands in for a photo that could not be copied.
QImage blueEuro()
{
    QImage picture(SubstituteSize, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawPixmap(0, 0,
                       platform::resourcePicture(QStringLiteral(":/print/euro_blu.svg"), SubstituteSize));
    return picture;
}

QPushButton* screenButton(const QString& name, const QString& caption, const QRect& where, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(where);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

CardDialogBase::CardDialogBase(RecordEditorAccess& editor, const Texts& texts)
    : QDialog(editor.owner()), editor_(editor), failure_(texts.failure), repDocumento_(makeCardReport()),
      imgTemp_(blueEuro())
{
    prepareScreen(this, texts.className, texts.caption);
    makeFixedDialogWindow(this, ClientWidth, ClientHeight);
    setModal(true);
    imgLogo_ = imgTemp_;

    auto* explanation = new platform::PictureBox(QStringLiteral("imgSpiegazione"), texts.explanation, this);
    explanation->setGeometry(12, 10, 340, 220);
    explanation->setAccessibleName(texts.caption.trimmed()); // the heading the picture shows

    auto* cancel =
        screenButton(QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), QRect(118, 241, 110, 34), this);
    auto* run = screenButton(QStringLiteral("btnStampa"), texts.command, QRect(240, 241, 112, 34), this);
    setTabOrder(cancel, run);
    connect(cancel, &QPushButton::clicked, this, &CardDialogBase::btnAnnullaClick);
    connect(run, &QPushButton::clicked, this, &CardDialogBase::btnStampaClick);
    platform::applyScreenKeys(this, {.escape = [this] { btnAnnullaClick(); }});
}

void CardDialogBase::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    centreOnScreen(this);
    imgLogo_ = editor_.photo(PhotoSlotId::A);
    if (imgLogo_.isNull())
        imgLogo_ = imgTemp_;
}

void CardDialogBase::btnStampaClick()
{
    try {
        fillCard(repDocumento_, editor_, imgLogo_);
        repDocumento_.prepare();
        runLastStep(repDocumento_);
    } catch (const std::exception&) {
        // A report error, or a photo too big for the memory left.
        platform::warning(this, failure_);
    }
    accept();
}

void CardDialogBase::btnAnnullaClick()
{
    reject();
}

} // namespace brivanto
