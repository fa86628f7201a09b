#include "help/HelpWindow.h"

#include "help/LinkLabel.h"
#include "help/WindowParts.h"
#include "platform/PictureBox.h"
#include "shell/DesktopOpen.h"
#include "shell/Screen.h"
#include "storage/ProgramFolder.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace brivanto {

using platform::PictureButton;

namespace {
constexpr int ClientWidth = 670;
constexpr int ClientHeight = 572;
constexpr int Margin = 15;
constexpr QRgb TitleColour = 0xDC143C; // crimson
} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent)
{
    prepareScreen(this, QStringLiteral("TfrmGuida"), QStringLiteral(" Guida all'utilizzo del software"));
    makeFixedDialogWindow(this, ClientWidth, ClientHeight);

    addFramedLogo(this, QStringLiteral(":/help/logo_guida.svg"), Margin - 5, 10, 4);

    lblTitolo_ = new QLabel(QStringLiteral("Argomento della guida."), this);
    lblTitolo_->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo_->setTextFormat(Qt::PlainText);
    lblTitolo_->setFont(QFont(QStringLiteral("Arial"), 16, QFont::Bold));
    QPalette crimson = lblTitolo_->palette();
    crimson.setColor(QPalette::WindowText, QColor::fromRgb(TitleColour));
    lblTitolo_->setPalette(crimson);
    lblTitolo_->setGeometry(Margin, 110, ClientWidth - 2 * Margin, 30);

    txtGuida_ = new QPlainTextEdit(this);
    txtGuida_->setObjectName(QStringLiteral("txtGuida"));
    txtGuida_->setReadOnly(true);
    txtGuida_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtGuida_->setWordWrapMode(QTextOption::WordWrap);
    txtGuida_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    txtGuida_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtGuida_->setFont(QFont(QStringLiteral("Verdana"), 12, QFont::Bold));
    txtGuida_->setGeometry(Margin, 146, ClientWidth - 2 * Margin, 344);
    txtGuida_->setAccessibleName(QStringLiteral("Testo della guida"));

    auto* imgPDF = new PictureButton(QStringLiteral("imgPDF"), QStringLiteral(":/help/pdf.svg"), this);
    imgPDF->move(Margin, 506);
    auto* lnkWeb =
        new LinkLabel(QStringLiteral("lnkWeb"), QStringLiteral("Visualizza guida in formato PDF"), this);
    lnkWeb->move(imgPDF->x() + imgPDF->width() + 8, imgPDF->y() + (imgPDF->height() - lnkWeb->height()) / 2);
    lnkWeb->addIcon(imgPDF);
    connect(lnkWeb, &LinkLabel::clicked, this, &HelpWindow::lnkWebClick);

    QPushButton* btnChiudi = addCloseButton(this);
    btnChiudi->setGeometry(ClientWidth - Margin - 110, 508, 110, 36);

    centreOnScreen(this);
}

void HelpWindow::setTitle(const QString& title)
{
    lblTitolo_->setText(title);
}

void HelpWindow::setText(const QString& text)
{
    text_ = text;
    // The text box reads "\r\n" as one line break, so each separator shows as one empty line.
    txtGuida_->setPlainText(text);
}

void HelpWindow::lnkWebClick()
{
    openWithDesktop(QLatin1Char('"') + ProgramFolder() + QStringLiteral("Guida.pdf") + QLatin1Char('"'),
                    this);
}

} // namespace brivanto
