#pragma once

#include <QDialog>

namespace brivanto {

// The splash window: the large product picture and a link to the maker's web site. It opens
// centred on the screen that asks for it.
class SplashWindow : public QDialog
{
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

private:
    void lnkWebClick();
    void centreOnOwner();
};

} // namespace brivanto
