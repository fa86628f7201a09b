#include "editor/TfrmCartoline.h"

#include "shell/Screen.h"
#include "storage/FieldText.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace brivanto {

TfrmCartoline::TfrmCartoline(QWidget* parent) : QWidget(parent)
{
    prepareScreen(this, QStringLiteral("TfrmCartoline"), QStringLiteral(" Brivanto - Zendaro"));

    lblNome_ = new QLabel(this);
    lblNome_->setObjectName(QStringLiteral("lblNome"));
    lblNome_->setFont(QFont(QStringLiteral("Verdana"), 16, QFont::Bold));
    lblFile_ = new QLabel(this);
    lblFile_->setObjectName(QStringLiteral("lblFile"));
    auto* esci = new QPushButton(QStringLiteral("Esci"), this);
    esci->setObjectName(QStringLiteral("cmdEsci"));
    connect(esci, &QPushButton::clicked, this, &TfrmCartoline::cmdEsciClick);

    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(lblNome_, 0, Qt::AlignCenter);
    layout->addWidget(lblFile_, 0, Qt::AlignCenter);
    layout->addWidget(esci, 0, Qt::AlignCenter);
    layout->addStretch();
}

void TfrmCartoline::setArchive(const QString& file, const QString& name)
{
    lblFile_->setText(file);
    lblNome_->setText(name);
}

QString TfrmCartoline::archiveFile() const
{
    return trimmed(lblFile_->text());
}

QString TfrmCartoline::archiveName() const
{
    return lblNome_->text();
}

void TfrmCartoline::cmdEsciClick()
{
    close();
}

void TfrmCartoline::closeEvent(QCloseEvent* event)
{
    event->accept();
    Q_EMIT closed();
}

} // namespace brivanto
