#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;

namespace brivanto {

// The help window: a screen's help title and text, and the link to the user guide.
class HelpWindow : public QDialog
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void setTitle(const QString& title);
    // Paragraphs come separated by "\r\n\r\n"; the text box shows one empty line between them.
    void setText(const QString& text);
    // The text exactly as it was given.
    QString text() const { return text_; }

private:
    void lnkWebClick();

    QLabel* lblTitolo_ = nullptr;
    QPlainTextEdit* txtGuida_ = nullptr;
    QString text_;
};

} // namespace brivanto
