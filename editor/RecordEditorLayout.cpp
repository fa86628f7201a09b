// The record editor's construction: the toolbar, the photo slots, the field panel and the status
// line, built from the tables below.
#include "editor/RecordEditor.h"

#include "editor/EditorKeys.h"
#include "editor/MarketValue.h"
#include "editor/PhotoSlot.h"
#include "media/CaptureScreen.h"
#include "platform/PictureBox.h"
#include "platform/ScreenKeys.h"
#include "shell/HintLine.h"
#include "shell/Screen.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QValidator>

namespace brivanto {

using platform::PictureBox;
using platform::PictureButton;

namespace {
constexpr int PanelWidth = 1340;
constexpr int PanelHeight = 662;
constexpr QRect FieldPanel(436, 68, 896, 554);
constexpr int FieldsTop = 40;
constexpr int RowPitch = 46;
constexpr int FieldInset = 12;

// What may enter the market value by any route a user has (typing, pasting, the context menu,
// an input method): digits and commas, at most 12 of them. Text that the program puts there
// (a stored record, the normalised value) is not checked.
class MarketValueValidator final : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return isMarketValueText(input) && input.size() <= 12 ? Acceptable : Invalid;
    }
};

struct ToolButton
{
    const char* name;
    const char* picture; // none for the position label between the browse buttons
    const char16_t* hint;
    EditorAction action;
};

// The toolbar, group by group, left to right.
const std::array<std::vector<ToolButton>, 6> ToolbarGroups{{
    {{"cmdNuovo", ":/editor/nuovo.svg", u"Prepara la schermata per l'inserimento di una nuova scheda.",
      EditorAction::NewRecord},
     {"cmdSalva", ":/editor/salva.svg", u"Salva la scheda in archivio.", EditorAction::Save},
     {"cmdElimina", ":/editor/elimina.svg", u"Elimina la scheda corrente dall'archivio.",
      EditorAction::Delete},
     {"cmdTrova", ":/editor/trova.svg", u"Trova schede in archivio.", EditorAction::Search},
     {"cmdCercaDisponibili", ":/editor/in_vendita.svg",
      u"Visualizza il riepilogo dei giochi da tavolo in vendita.", EditorAction::ForSale}},
    {{"cmdFile", ":/editor/allega.svg", u"Allega file alla scheda corrente.", EditorAction::Attachments}},
    {{"cmdAnteprima", ":/editor/anteprima.svg", u"Visualizza l'anteprima di stampa della scheda corrente.",
      EditorAction::Preview},
     {"cmdStampa", ":/editor/stampa.svg", u"Stampa la scheda corrente.", EditorAction::Print}},
    {{"cmdPrimo", ":/editor/primo.svg", u"Visualizza la prima scheda in archivio.", EditorAction::First},
     {"cmdIndietro", ":/editor/indietro.svg", u"Visualizza la scheda precedente in archivio.",
      EditorAction::Previous},
     {"lblPosizione", nullptr, nullptr, {}},
     {"cmdAvanti", ":/editor/avanti.svg", u"Visualizza la scheda successiva in archivio.",
      EditorAction::Next},
     {"cmdUltimo", ":/editor/ultimo.svg", u"Visualizza l'ultima scheda in archivio.", EditorAction::Last}},
    {{"cmdEsporta", ":/editor/esporta.svg", u"Esporta l'archivio in un file di Excel.", EditorAction::Export},
     {"cmdImporta", ":/editor/importa.svg", u"Importa giochi da un file CSV.", EditorAction::Import},
     {"cmdSlideShow", ":/editor/slideshow.svg", u"Esegui lo slide show dei giochi da tavolo in archivio.",
      EditorAction::Slideshow},
     {"cmdStatistiche", ":/editor/statistiche.svg", u"Visualizza le statistiche della collezione.",
      EditorAction::Statistics}},
    {{"cmdGuida", ":/editor/guida.svg", u"Visualizza la pagina della guida sensibile al contesto.",
      EditorAction::Help},
     {"cmdEsci", ":/editor/esci.svg", u"Esci da questa schermata.", EditorAction::Exit}},
}};

// The photo buttons of both slots and their hints.
const std::array<std::pair<const char*, const char16_t*>, 5> PhotoButtonHints{{
    {"btnCaricaFoto", u"Carica una foto esistente."},
    {"btnAcquisisciFoto", u"Acquisisci la foto da WebCam."},
    {"btnSalvaFoto", u"Salva la foto su disco."},
    {"btnCancFoto", u"Cancella la foto."},
    {"btnZoomFoto", u"Visualizza la foto nelle sue dimensioni reali."},
}};
} // namespace

RecordEditor::RecordEditor(QWidget* parent) : QWidget(parent)
{
    prepareScreen(this, QStringLiteral("TfrmCartoline"), QStringLiteral(" Brivanto - Zendaro"));
    QWidget* panel = addCentredPanel(this, PanelWidth, PanelHeight);
    panel->setObjectName(QStringLiteral("panCartoline"));

    buildStatusStrip(panel);
    buildToolbar(panel);
    slotA_ = new PhotoSlot(PhotoSlotId::A, panel);
    slotA_->move(8, 68);
    slotB_ = new PhotoSlot(PhotoSlotId::B, panel);
    slotB_->move(8, 68 + slotA_->height() + 18);
    connect(slotA_, &PhotoSlot::captureRequested, this, [this] { showCapture(*this, slotA_->captureTag()); });
    connect(slotB_, &PhotoSlot::captureRequested, this, [this] { showCapture(*this, slotB_->captureTag()); });
    buildFieldPanel(panel);

    lblFile_ = hiddenLabel(QStringLiteral("lblFile"), panel);
    for (int i = 0; i < 3; ++i) {
        lblFiles_[i] = hiddenLabel(QStringLiteral("lblFile0%1").arg(i + 1), panel);
        lblDescs_[i] = hiddenLabel(QStringLiteral("lblDesc0%1").arg(i + 1), panel);
    }
    for (const auto& [name, hint] : PhotoButtonHints) {
        for (const QString& suffix : {QString(), QStringLiteral("02")}) {
            if (auto* button = findChild<QWidget*>(QLatin1String(name) + suffix))
                hints_->watch(button, QString::fromUtf16(hint));
        }
    }
    // Over the background, the panels and the photos the status line goes blank.
    hints_->watch(this, {});
    hints_->watch(panel, {});
    for (const char* name : {"imgFoto", "imgFoto02", "panFoto", "panFoto02", "shpFoto", "shpFoto02"})
        hints_->watch(findChild<QWidget*>(QLatin1String(name)), {});

    setTabOrder(edits_.back(), chkInVendita_);
    platform::placePictureButtonsLast(this);
    platform::applyScreenKeys(this, {.help = [this] { cmdGuidaClick(); }});
    ClearRecordScreen();
}

void RecordEditor::buildToolbar(QWidget* panel)
{
    int x = 8;
    for (std::size_t g = 0; g < ToolbarGroups.size(); ++g) {
        auto* group = new QFrame(panel);
        group->setObjectName(QStringLiteral("panGruppo%1").arg(g + 1));
        group->setStyleSheet(QStringLiteral("QFrame#%1 { background: #FFFFFF; border-radius: 8px; }")
                                 .arg(group->objectName()));
        hints_->watch(group, {});
        int inner = 8;
        for (const ToolButton& tool : ToolbarGroups[g]) {
            if (!tool.picture) {
                lblPosizione_ = new QLabel(group);
                lblPosizione_->setObjectName(QLatin1String(tool.name));
                lblPosizione_->setFont(QFont(QStringLiteral("Verdana"), 12, QFont::Bold));
                lblPosizione_->setAlignment(Qt::AlignCenter);
                lblPosizione_->setGeometry(inner, 6, 72, 40);
                inner += 72 + 6;
                continue;
            }
            auto* button = new PictureButton(QLatin1String(tool.name), QLatin1String(tool.picture), group);
            button->move(inner, 6);
            toolButtons_.at(static_cast<std::size_t>(tool.action)) = button;
            connect(button, &PictureButton::clicked, this, [this, action = tool.action] { run(action); });
            inner += button->width() + 6;
            hints_->watch(button, QString::fromUtf16(tool.hint));
        }
        group->setGeometry(x, 6, inner + 2, 52);
        x += group->width() + 14;
    }
    // The last group, help and exit, stands at the right end.
    QWidget* last = panel->findChild<QWidget*>(QStringLiteral("panGruppo6"));
    last->move(PanelWidth - 8 - last->width(), 6);

    // The keys run the same actions as the buttons; each button names its key.
    for (const EditorKey& key : EditorKeys) {
        auto* shortcut = new QShortcut(QKeySequence(key.key), this);
        shortcut->setAutoRepeat(false);
        connect(shortcut, &QShortcut::activated, this, [this, action = key.action] { run(action); });
        toolButtons_.at(static_cast<std::size_t>(key.action))
            ->setAccessibleDescription(shortcutDescription(key));
    }
}

void RecordEditor::buildFieldPanel(QWidget* panel)
{
    auto* fields = new QFrame(panel);
    fields->setObjectName(QStringLiteral("panCampi"));
    fields->setGeometry(FieldPanel);
    fields->setStyleSheet(QStringLiteral(
        "QFrame#panCampi { background: #FFFFFF; border-radius: 8px; }"
        "QLineEdit { background: #F0F8FF; border: 1px solid #87CEEB; padding: 0px 4px; color: #000000; }"
        "QLineEdit:focus { background: #FFFF00; }"
        "QLabel { color: #22313A; }"));
    hints_->watch(fields, {});

    lblNome_ = new QLabel(fields);
    lblNome_->setObjectName(QStringLiteral("lblNome"));
    lblNome_->setGeometry(0, 0, FieldPanel.width(), 32);
    lblNome_->setAlignment(Qt::AlignCenter);
    lblNome_->setFont(QFont(QStringLiteral("Verdana"), 13, QFont::Bold));
    lblNome_->setStyleSheet(QStringLiteral("QLabel { background: #1F4E8C; color: #FFFF00; "
                                           "border-top-left-radius: 8px; border-top-right-radius: 8px; }"));
    hints_->watch(lblNome_, {});

    const QFont editFont(QStringLiteral("Verdana"), 12, QFont::Bold);
    const QFont labelFont(QStringLiteral("Verdana"), 9);
    for (int i = 0; i < EditorFieldCount; ++i) {
        const EditorField& field = EditorFields[i];
        const int labelY = FieldsTop + field.row * RowPitch;
        auto* edit = new QLineEdit(fields);
        edit->setObjectName(QLatin1String(field.objectName));
        edit->setFont(editFont);
        edit->setAlignment(field.alignment);
        edit->setGeometry(FieldInset + field.x, labelY + 17, field.width, 28);
        edit->installEventFilter(this);
        edits_[i] = edit;
        auto* label = new QLabel(QString::fromUtf16(field.label), fields);
        label->setObjectName(QStringLiteral("lbl") + QLatin1String(field.objectName + 3));
        label->setFont(labelFont);
        label->setBuddy(edit);         // the label names its field
        if (i == EditorFieldCount - 1) // "Note:" stands beside its edit
            label->setGeometry(FieldInset, labelY + 17, field.x - 4, 28);
        else
            label->setGeometry(FieldInset + field.x, labelY, field.width, 16);
        if (i > 0)
            setTabOrder(edits_[i - 1], edit);
        // The market value has its own length rule (see the validator): a normalised value may be
        // longer than what can be typed, and the edit must not cut it.
        if (i != 6)
            edit->setMaxLength(field.maxLength);
    }
    txtValore_ = edits_[6];
    txtValore_->setValidator(new MarketValueValidator(txtValore_));

    const int noteY = FieldsTop + 10 * RowPitch + 17;
    const EditorField& note = EditorFields.back();
    auto* mark = new PictureBox(QStringLiteral("icoInVendita"),
                                QStringLiteral(":/editor/in_vendita_mano.svg"), fields);
    mark->move(FieldInset + note.x + note.width + 14, noteY - 1);
    chkInVendita_ = new QCheckBox(QStringLiteral("In vendita"), fields);
    chkInVendita_->setObjectName(QStringLiteral("chkInVendita"));
    chkInVendita_->setFont(QFont(QStringLiteral("Verdana"), 11, QFont::Bold));
    chkInVendita_->setGeometry(mark->x() + mark->width() + 8, noteY, 150, 28);
    hints_->watch(
        chkInVendita_,
        QStringLiteral("Spunta questa casella per annotare che il gioco da tavolo \u00E8 in vendita."));
}

void RecordEditor::buildStatusStrip(QWidget* panel)
{
    panInfo_ = new QLabel(QStringLiteral("Pronto per archiviare una nuova scheda..."), panel);
    panInfo_->setObjectName(QStringLiteral("panInfo"));
    panInfo_->setFont(QFont(QStringLiteral("Tahoma"), 12));
    panInfo_->setGeometry(8, PanelHeight - 34, PanelWidth - 16, 28);
    panInfo_->setIndent(10);
    panInfo_->setStyleSheet(
        QStringLiteral("QLabel { background: #1F4E8C; color: #FFFFFF; border-radius: 6px; }"));
    hints_ = new HintLine(this, panInfo_);
    hints_->watch(panInfo_, {});
}

} // namespace brivanto
