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

void DeviceCamera::setActive(bool active)
{
    if (!active) {
        if (active_ && working_)
            runDevice(false);
        active_ = false;
        return;
    }
    if (active_ && working_)
        return;
    active_ = true;
    if (!working_) {
        disconnectDevice(); // a device that failed is replaced by whatever is there now
        working_ = connectDevice();
    }
    if (working_)
        runDevice(true);
}

void DeviceCamera::deviceFailed()
{
    if (!working_)
        return;
    working_ = false;
    runDevice(false);
}

namespace {

// The default video input through a capture session that feeds the sink. The device is looked
// for when the camera is switched on, so a screen that never uses it loads no backend.
class QtCamera final : public DeviceCamera
{
public:
    ~QtCamera() override
    {
        if (camera_)
            camera_->stop();
    }

private:
    bool connectDevice() override
    {
        const QCameraDevice device = QMediaDevices::defaultVideoInput();
        if (device.isNull())
            return false;
        camera_ = std::make_unique<QCamera>(device);
        session_ = std::make_unique<QMediaCaptureSession>();
        session_->setCamera(camera_.get());
        session_->setVideoSink(sink());
        // A camera that fails or is unplugged stops delivering; the screen keeps what it showed.
        connect(camera_.get(), &QCamera::errorOccurred, this, &QtCamera::deviceFailed);
        return true;
    }
    void disconnectDevice() override
    {
        session_.reset();
        camera_.reset();
    }
    void runDevice(bool running) override { camera_->setActive(running); }

    std::unique_ptr<QCamera> camera_;
    std::unique_ptr<QMediaCaptureSession> session_;
};

class QtCameras final : public CameraFactory
{
public:
    std::unique_ptr<Camera> defaultCamera() override { return std::make_unique<QtCamera>(); }
};

} // namespace

// The program links its own loader of the camera module, whose definition takes the place of this
// one; the tests and the module itself use this one.
__attribute__((weak)) CameraFactory& CameraFactory::real()
{
    static QtCameras cameras;
    return cameras;
}

} // namespace brivanto::platform
