#pragma once

#include "editor/EditorFields.h"
#include "editor/RecordEditorAccess.h"

#include <QImage>
#include <QRectF>
#include <QWidget>

// A record editor reduced to what the card reads of it: the archive's name, the 21 texts as
// typed and the picture of slot A.
class CardSourceEditor final : public brivanto::RecordEditorAccess
{
public:
    CardSourceEditor()
    {
        for (int i = 0; i < brivanto::EditorFieldCount; ++i)
            texts.append(QString());
    }
    void set(const char* control, const QString& text)
    {
        for (int i = 0; i < brivanto::EditorFieldCount; ++i)
            if (QLatin1String(brivanto::EditorFields[static_cast<std::size_t>(i)].objectName) ==
                QLatin1String(control))
                texts[i] = text;
    }

    QWidget* owner() override { return &window; }
    QString archiveFile() const override { return {}; }
    QString archiveName() const override { return name; }
    QString position() const override { return {}; }
    QStringList fieldTexts() const override { return texts; }
    bool forSale() const override { return false; }
    brivanto::AttachmentLabels attachments() const override { return {}; }
    void setAttachments(const brivanto::AttachmentLabels&) override {}
    void ShowRecord(const brivanto::GameRecord&, int) override {}
    bool offerToSaveChanges() override { return true; }
    QImage photo(brivanto::PhotoSlotId) const override { return picture; }
    void putPhoto(brivanto::PhotoSlotId, const QImage&) override {}

    QWidget window;
    QString name = QStringLiteral("Collezione");
    QStringList texts;
    QImage picture;
};

inline QImage solidPicture(QSize size, QColor colour)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// The card's boxes on paper: the template's millimetres plus the 10 mm margin.
inline QRectF onPaper(double left, double top, double width, double height)
{
    return {left + 10, top + 10, width, height};
}
