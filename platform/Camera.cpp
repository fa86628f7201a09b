#include "platform/Camera.h"

#include <QCamera>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QMutexLocker>
#include <QVideoSink>

namespace brivanto::platform {

QImage pictureOfFrame(const QVideoFrame& frame)
{
    if (!frame.isValid())
        return {};
    const QImage picture = frame.toImage();
    if (picture.isNull())
        return {};
    return picture.convertToFormat(QImage::Format_RGB32);
}

VideoSinkCamera::VideoSinkCamera() = default;

VideoSinkCamera::~VideoSinkCamera()
{
    if (sink_)
        disconnect(sink_.get(), nullptr, this, nullptr);
}

QVideoSink* VideoSinkCamera::sink()
{
    if (!sink_) {
        sink_ = std::make_unique<QVideoSink>();
        // Direct: the device's thread only drops the frame into the mailbox and goes on.
        connect(sink_.get(), &QVideoSink::videoFrameChanged, this, &VideoSinkCamera::frameArrived,
                Qt::DirectConnection);
    }
    return sink_.get();
}

void VideoSinkCamera::frameArrived(const QVideoFrame& frame)
{
    QMutexLocker lock(&mutex_);
    pending_ = frame; // frames are shared, never changed: the user-interface thread reads it whole
    if (deliveryPosted_)
        return;
    deliveryPosted_ = true;
    QMetaObject::invokeMethod(this, &VideoSinkCamera::deliver, Qt::QueuedConnection);
}

void VideoSinkCamera::deliver()
{
    QVideoFrame frame;
    {
        QMutexLocker lock(&mutex_);
        frame = std::exchange(pending_, QVideoFrame());
        deliveryPosted_ = false;
    }
    if (!isActive()) // switched off since: the frame is stale
        return;
    const QImage picture = pictureOfFrame(frame);
    if (!picture.isNull())
        Q_EMIT frameReady(picture);
}

namespace {

// The default video input through a capture session that feeds the sink. The device is looked
// for when the camera is first switched on, so a screen that never uses it loads no backend.
class QtCamera final : public VideoSinkCamera
{
public:
    ~QtCamera() override
    {
        if (camera_)
            camera_->stop();
    }

    void setActive(bool active) override
    {
        if (active == active_)
            return;
        active_ = active;
        if (active && !camera_)
            connectDevice();
        if (camera_)
            camera_->setActive(active);
    }
    bool isActive() const override { return active_; }

private:
    void connectDevice()
    {
        const QCameraDevice device = QMediaDevices::defaultVideoInput();
        if (device.isNull())
            return;
        camera_ = std::make_unique<QCamera>(device);
        session_ = std::make_unique<QMediaCaptureSession>();
        session_->setCamera(camera_.get());
        session_->setVideoSink(sink());
        // A camera that fails or is unplugged stops delivering; the screen keeps what it showed.
        connect(camera_.get(), &QCamera::errorOccurred, this, [this] { camera_->setActive(false); });
    }

    bool active_ = false;
    std::unique_ptr<QCamera> camera_;
    std::unique_ptr<QMediaCaptureSession> session_;
};

class QtCameras final : public CameraFactory
{
public:
    std::unique_ptr<Camera> defaultCamera() override { return std::make_unique<QtCamera>(); }
};

} // namespace

CameraFactory& CameraFactory::real()
{
    static QtCameras cameras;
    return cameras;
}

} // namespace brivanto::platform
