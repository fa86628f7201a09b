#include "platform/PictureBox.h"

#include "platform/ScreenKeys.h"

#include <QAccessibleWidget>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResource>

#include <algorithm>
#include <cstring>
#include <vector>

namespace brivanto::platform {
namespace {

// Drawings are drawn through the toolkit's SVG picture format, which loads its library on first
// use: the first window needs none, and the program starts without it.
QImage drawnSvg(const QString& resource, QSize size)
{
    QImageReader reader(resource);
    if (size.isValid())
        reader.setScaledSize(size);
    return reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

QPixmap resourcePicture(const QString& resource, QSize size)
{
    if (!resource.endsWith(QLatin1String(".svg")))
        return QPixmap(resource);
    return QPixmap::fromImage(drawnSvg(resource, size));
}

ResourcePicture::ResourcePicture() = default;

ResourcePicture::ResourcePicture(const QString& resource)
{
    // A drawing the build has already drawn (resources/CMakeLists.txt: the first window's) comes
    // as its size and its pixels.
    if (resource.startsWith(QLatin1String(":/")) && resource.endsWith(QLatin1String(".svg"))) {
        const QResource rendered(QStringLiteral(":/rendered/") % QStringView(resource).mid(2).chopped(4) %
                                 QStringLiteral(".argb"));
        const QByteArray data = rendered.isValid() ? rendered.uncompressedData() : QByteArray();
        quint32 size[2] = {0, 0};
        if (data.size() >= qsizetype(sizeof size)) {
            std::memcpy(size, data.constData(), sizeof size);
            if (size[0] > 0 && size[0] <= 4096 && size[1] > 0 && size[1] <= 4096 &&
                data.size() == qsizetype(sizeof size) + qsizetype(size[0]) * size[1] * 4) {
                pixels_ = data; // the resource's own bytes, not a copy
                size_ = QSize(int(size[0]), int(size[1]));
                return;
            }
        }
    }
    // Reading the drawing's size is quick; drawing it (text above all) is what takes the time.
    resource_ = resource;
    size_ = QImageReader(resource).size();
}

ResourcePicture::ResourcePicture(ResourcePicture&&) noexcept = default;
ResourcePicture& ResourcePicture::operator=(ResourcePicture&&) noexcept = default;
ResourcePicture::~ResourcePicture() = default;

ResourcePicture& ResourcePicture::operator=(const QPixmap& picture)
{
    resource_.clear();
    pixels_.clear();
    pixmap_ = picture;
    size_ = picture.size();
    return *this;
}

const QPixmap& ResourcePicture::pixmap() const
{
    if (!pixels_.isEmpty()) {
        const auto* pixels = reinterpret_cast<const uchar*>(pixels_.constData()) + 2 * sizeof(quint32);
        pixmap_ = QPixmap::fromImage(
            QImage(pixels, size_.width(), size_.height(), QImage::Format_ARGB32_Premultiplied).copy());
        pixels_.clear();
    } else if (!resource_.isEmpty()) {
        pixmap_ = resourcePicture(std::exchange(resource_, QString()), size_);
    }
    return pixmap_;
}

void drawCentred(QPainter& painter, const QRect& box, const QPixmap& picture)
{
    QSize size = picture.size();
    if (size.width() > box.width() || size.height() > box.height())
        size.scale(box.size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((box.width() - size.width()) / 2, (box.height() - size.height()) / 2), size);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (size != picture.size()) {
        painter.drawPixmap(target, picture);
        return;
    }
    // Drawn as it is, in bands: the toolkit blends a picture of more than about 96 rows on a pool
    // of threads that it starts on first use, which a picture this small never repays (the
    // password window's logo would start two before the first window is up). Each pixel is
    // blended alone, so the bands give the same pixels.
    constexpr int Band = 64;
    for (int y = 0; y < size.height(); y += Band) {
        const int rows = std::min(Band, size.height() - y);
        painter.drawPixmap(QRect(target.x(), target.y() + y, size.width(), rows), picture,
                           QRect(0, y, size.width(), rows));
    }
}

namespace {

// What assistive technology sees of a picture: a picture that only decorates is hidden (no
// role, not showing); one that was given a name (it shows words the user needs) is a graphic.
class PictureAccessible final : public QAccessibleWidget
{
public:
    explicit PictureAccessible(QWidget* picture) : QAccessibleWidget(picture, QAccessible::Graphic) {}

    QAccessible::Role role() const override
    {
        return decorative() ? QAccessible::NoRole : QAccessible::Graphic;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (decorative())
            state.invisible = true;
        return state;
    }

private:
    bool decorative() const { return widget()->accessibleName().isEmpty(); }
};

QAccessibleInterface* pictureAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(PictureBox::staticMetaObject.className()) && object->isWidgetType())
        return new PictureAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

// The program's focus colour (the selection colour of its style).
const QColor FocusColour(0x0F, 0x5E, 0x6B);
// The amber the program's other buttons show their focus in.
const QColor FocusAccent(0xE8, 0xA3, 0x3D);

} // namespace

PictureBox::PictureBox(QWidget* parent) : PictureControl(parent)
{
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(&pictureAccessible);
        return true;
    }();
    Q_UNUSED(accessibleInstalled);
}

PictureBox::PictureBox(const QString& objectName, const QString& resource, QWidget* parent)
    : PictureBox(parent)
{
    showResource(objectName, resource);
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawPicture(painter);
}

PictureButton::PictureButton(const QString& objectName, const QString& resource, QWidget* parent)
    : PictureControl(parent)
{
    showResource(objectName, resource);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    // In the Tab chain; a click does not take the focus from the field being edited.
    setFocusPolicy(Qt::TabFocus);
}

bool PictureButton::showsFocusMark() const
{
    return hasFocus() && (keyboardFocus_ || window()->testAttribute(Qt::WA_KeyboardFocusChange));
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawPicture(painter);
    if (isDown() || underMouse()) {
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        painter.fillRect(rect(), isDown() ? QColor(0, 0, 0, 40) : QColor(255, 255, 255, 50));
        painter.restore();
    }
    if (showsFocusMark()) {
        // A teal frame with an amber line inside it, in the program's colours: one of the two
        // stands out on every picture and background (the teal banner, the amber button, cream).
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(FocusColour, 3));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 10, 10);
        painter.setPen(QPen(FocusAccent, 2));
        painter.drawRoundedRect(QRectF(rect()).adjusted(4, 4, -4, -4), 8, 8);
    }
}

void PictureButton::keyPressEvent(QKeyEvent* event)
{
    // A picture button is pressed with Enter and Return as well as with Space, as a focused push
    // button of the desktop is; a default button elsewhere in the window never gets this Enter.
    if (isPlainEnter(event)) {
        keyboardFocus_ = true;
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Space)
        keyboardFocus_ = true;
    QAbstractButton::keyPressEvent(event);
}

void PictureButton::focusInEvent(QFocusEvent* event)
{
    keyboardFocus_ = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason ||
                     event->reason() == Qt::ShortcutFocusReason;
    QAbstractButton::focusInEvent(event);
}

void PictureButton::focusOutEvent(QFocusEvent* event)
{
    keyboardFocus_ = false;
    QAbstractButton::focusOutEvent(event);
}

void PictureButton::mousePressEvent(QMouseEvent* event)
{
    keyboardFocus_ = false;
    QAbstractButton::mousePressEvent(event);
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    // Released away from the picture, the press ends too: say so, as a release over it does.
    const bool releasedAway =
        event->button() == Qt::LeftButton && isDown() && !hitButton(event->position().toPoint());
    QAbstractButton::mouseReleaseEvent(event);
    if (releasedAway)
        Q_EMIT released();
}

bool PictureButton::event(QEvent* event)
{
    // The lighter look follows the mouse in and out.
    if (event->type() == QEvent::HoverEnter || event->type() == QEvent::HoverLeave)
        update();
    return QAbstractButton::event(event);
}

void placePictureButtonsLast(QWidget* screen)
{
    struct Placed
    {
        PictureButton* button;
        QRect box;
    };
    std::vector<Placed> pending;
    for (PictureButton* button : screen->findChildren<PictureButton*>())
        pending.push_back({button, QRect(button->mapTo(screen, QPoint(0, 0)), button->size())});
    if (pending.empty())
        return;
    std::ranges::stable_sort(pending, {}, [](const Placed& p) { return p.box.top(); });
    // A row is the topmost button left and every button whose top lies above its middle.
    std::vector<PictureButton*> reading;
    for (auto rowStart = pending.begin(); rowStart != pending.end();) {
        const int middle = rowStart->box.center().y();
        auto rowEnd =
            std::find_if(rowStart, pending.end(), [middle](const Placed& p) { return p.box.top() > middle; });
        std::stable_sort(rowStart, rowEnd,
                         [](const Placed& a, const Placed& b) { return a.box.left() < b.box.left(); });
        for (auto it = rowStart; it != rowEnd; ++it)
            reading.push_back(it->button);
        rowStart = rowEnd;
    }

    // The other controls that Tab reaches, in their order: the buttons follow the last of them.
    std::vector<QWidget*> others;
    for (QWidget* w = screen->nextInFocusChain(); w && w != screen; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) &&
            std::find(reading.begin(), reading.end(), w) == reading.end())
            others.push_back(w);
    }
    QWidget* previous = others.empty() ? nullptr : others.back();
    for (PictureButton* button : reading) {
        if (previous) {
            QWidget::setTabOrder(previous, button);
            // The toolkit leaves the chain as it is when the button already follows `previous`
            // round the end of the chain (it is the first control of the window), which would
            // give it the window's first focus: take it through the middle of the chain first.
            if (previous->nextInFocusChain() != button && !others.empty() && others.front() != previous) {
                QWidget::setTabOrder(others.front(), button);
                QWidget::setTabOrder(previous, button);
            }
        }
        previous = button;
    }
}

} // namespace brivanto::platform
