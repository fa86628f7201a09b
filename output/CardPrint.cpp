#include "output/CardPrint.h"

#include "editor/EditorFields.h"
#include "editor/RecordEditorAccess.h"
#include "storage/FieldText.h"

#include <array>
#include <string_view>

namespace brivanto {
namespace {

constexpr std::array<std::string_view, 20> ValueOrder{
    "txtTipologia",    "txtEditore",      "txtSerie",        "txtDescrizione", "txtAnno",
    "txtValore",       "txtDimensioni",   "txtCarta",        "txtRarita",      "txtMittente",
    "txtIndirizzoMit", "txtDestinatario", "txtIndirizzoDes", "txtTesto",       "txtData",
    "txtFrancobollo",  "txtTimbro",       "txtStato",        "txtLuogo",       "txtNote"};

// The position of an edit in the editor's field table, which is record order.
constexpr int editorField(std::string_view name)
{
    for (int i = 0; i < EditorFieldCount; ++i)
        if (std::string_view(EditorFields[static_cast<std::size_t>(i)].objectName) == name)
            return i;
    throw "not an edit of the record editor";
}

constexpr std::array<int, 20> valueFields()
{
    std::array<int, 20> fields{};
    for (std::size_t i = 0; i < ValueOrder.size(); ++i)
        fields[i] = editorField(ValueOrder[i]);
    return fields;
}
constexpr std::array<int, 20> ValueFields = valueFields();
constexpr int TitleField = editorField("txtTitolo");

} // namespace

void fillCard(report::Report& card, const RecordEditorAccess& editor, const QImage& picture)
{
    card.page(0).setOrientation(QPageLayout::Portrait);
    card.findPicture(u"imgLogo").setPicture(picture);
    const QStringList texts = editor.fieldTexts();
    card.findText(u"txtTitolo").setText(trimmedView(texts.at(TitleField)));
    card.findText(u"txtNome").setText(trimmedView(editor.archiveName()));
    for (std::size_t i = 0; i < ValueOrder.size(); ++i)
        card.findText(QString::fromLatin1(ValueOrder[i].data(), static_cast<qsizetype>(ValueOrder[i].size())))
            .setText(trimmedView(texts.at(ValueFields[i])));
}

} // namespace brivanto
