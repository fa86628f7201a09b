#include "media/TfrmWebCam.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace brivanto {

TfrmWebCam::TfrmWebCam(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("TfrmWebCam"));
    setWindowTitle(QStringLiteral(" Cattura foto con webcam"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    auto* message = new QLabel(
        QStringLiteral(
            "La cattura delle foto con la webcam non \u00E8 ancora disponibile in questa versione."),
        this);
    message->setFont(QFont(QStringLiteral("Verdana"), 11));
    message->setWordWrap(true);
    auto* annulla = new QPushButton(QStringLiteral("Annulla"), this);
    annulla->setObjectName(QStringLiteral("btnAnnulla"));
    annulla->setFont(QFont(QStringLiteral("Verdana"), 10));
    annulla->setCursor(Qt::PointingHandCursor);
    connect(annulla, &QPushButton::clicked, this, &QDialog::reject);
    lblMemory_ = new QLabel(this);
    lblMemory_->setObjectName(QStringLiteral("lblMemory"));
    lblMemory_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message);
    layout->addWidget(annulla, 0, Qt::AlignRight);
    setFixedSize(420, 140);
}

void TfrmWebCam::setCallerTag(const QString& tag)
{
    lblMemory_->setText(tag);
}

QString TfrmWebCam::callerTag() const
{
    return lblMemory_->text();
}

void showCapture(QWidget* owner, const QString& tag)
{
    auto* capture = new TfrmWebCam(owner);
    capture->setCallerTag(tag);
    capture->exec();
    delete capture;
}

} // namespace brivanto
