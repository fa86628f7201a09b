#pragma once

#include <QDialog>

namespace brivanto {

// The information window: what the product is, and a link that writes to the maker.
class AboutWindow : public QDialog
{
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

private:
    void lnkWebClick();
};

} // namespace brivanto
