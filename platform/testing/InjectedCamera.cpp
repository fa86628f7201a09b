#include "platform/testing/InjectedCamera.h"

#include <QVideoSink>

#include <cstring>

namespace brivanto::platform::testing {

void InjectedCamera::setActive(bool active)
{
    switches_.append(active);
    DeviceCamera::setActive(active);
}

bool InjectedCamera::connectDevice()
{
    if (!plugged_)
        return false;
    sink(); // made on this thread, whichever thread delivers the frames
    return true;
}

void InjectedCamera::inject(const QVideoFrame& frame)
{
    if (running_)
        sink()->setVideoFrame(frame);
}

void InjectedCamera::disappear()
{
    plugged_ = false;
    deviceFailed();
}

QVideoFrame InjectedCamera::frameOf(const QImage& picture)
{
    QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    QVideoFrame frame(QVideoFrameFormat(source.size(), QVideoFrameFormat::Format_BGRA8888));
    if (!frame.map(QVideoFrame::WriteOnly))
        return {};
    for (int y = 0; y < source.height(); ++y)
        std::memcpy(frame.bits(0) + y * frame.bytesPerLine(0), source.constScanLine(y),
                    std::size_t(source.width()) * 4);
    frame.unmap();
    return frame;
}

std::unique_ptr<Camera> InjectedCameras::defaultCamera()
{
    auto camera = std::make_unique<InjectedCamera>();
    last_ = camera.get();
    return camera;
}

} // namespace brivanto::platform::testing
