#pragma once

#include <QWidget>

class QDialog;
class QLineEdit;
class QPushButton;

namespace brivanto {

class RecordEditorAccess;
class ResultList;

// The panel `panContainer` that shows a result list: the find box with "Trova", the list, the
// double-click line, "Stampa" and "Chiudi". The search screen and the for-sale summary both show
// it; the summary puts its banner above it and tabs from the find box straight to the list.
class ListPanel : public QWidget
{
    Q_OBJECT
public:
    enum class TabOrder
    {
        FindButtonSecond, // find box, Trova, list, Stampa, Chiudi
        FindButtonFourth  // find box, list, Stampa, Trova, Chiudi
    };
    // `top`: the height kept free above the panel's own controls.
    ListPanel(int top, TabOrder order, QWidget* screen);

    ResultList* list() const { return lstRecords_; }
    QLineEdit* findBox() const { return txtTrova_; }
    QPushButton* closeButton() const { return btnChiudi_; }
    QPushButton* printButton() const { return btnStampa_; }

    // What a screen does each time it is shown: an empty find box and no last key.
    void startAfresh();

    // "Statistiche", left of "Stampa" and before it in the Tab order, with its key Ctrl+T: for the
    // lists whose games the statistics can cover.
    QPushButton* addStatisticsButton();
    QPushButton* statisticsButton() const { return btnStatistiche_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void btnTrovaClick();

    QLineEdit* txtTrova_;
    QPushButton* btnTrova_;
    ResultList* lstRecords_;
    QPushButton* btnStampa_;
    QPushButton* btnChiudi_;
    QPushButton* btnStatistiche_ = nullptr;
};

// The double-click on a result list: reads the whole archive for the records whose line is the
// selected one, then, when `writeEditor`, puts them on the editor, and closes the screen. With no
// line selected the screen just closes; when the archive cannot be read it says so and closes,
// leaving the editor as it was.
void openListedRecord(QDialog* screen, RecordEditorAccess& editor, const ResultList& list, bool writeEditor);

// The buttons of the search screens: text on the program's colours, hand cursor.
QPushButton* screenButton(const QString& objectName, const QString& text, QWidget* parent);

} // namespace brivanto
