#pragma once

#include "platform/Seam.h"

#include <QImage>
#include <QMutex>
#include <QObject>
#include <QVideoFrame>

#include <memory>

class QVideoSink;

namespace brivanto::platform {

// A video capture device. Switching it on while it delivers, or off while it is off, changes
// nothing. While it is on, every new frame reaches the user-interface thread as a whole picture
// of the frame's own size; a frame the user-interface thread has not taken yet is replaced by the
// next, so a slow screen sees the newest frame and the camera never waits for it. A camera that is
// missing, breaks or goes away simply delivers nothing, until it is switched on again: every
// switch-on looks for a working device anew.
class Camera : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void setActive(bool active) = 0;
    virtual bool isActive() const = 0;
    // False while the program's camera support itself is missing, as opposed to a device: such a
    // camera delivers nothing, and each switch-on looks for the support again.
    virtual bool isInstalled() const { return true; }

Q_SIGNALS:
    void frameReady(const QImage& frame);
};

// A camera whose frames arrive at a video sink, from whichever thread the device uses.
class VideoSinkCamera : public Camera
{
    Q_OBJECT
public:
    VideoSinkCamera();
    ~VideoSinkCamera() override;

protected:
    // Made on first use: a camera that is never switched on loads no multimedia backend.
    QVideoSink* sink();

private:
    void frameArrived(const QVideoFrame& frame); // any thread
    void deliver();                              // user-interface thread

    std::unique_ptr<QVideoSink> sink_;
    QMutex mutex_;
    QVideoFrame pending_;
    bool deliveryPosted_ = false;
};

// A camera fed by a device that may be missing, may fail or may go away at any time. Switching on
// looks for the device whenever none is working, so a camera plugged in afterwards, or one that
// recovered from an error, shows as soon as the user switches it on again.
class DeviceCamera : public VideoSinkCamera
{
public:
    void setActive(bool active) override;
    bool isActive() const final { return active_; }

protected:
    // Looks for the device and connects it to sink(), switched off; false when there is none.
    virtual bool connectDevice() = 0;
    // Lets go of the device connectDevice() found.
    virtual void disconnectDevice() = 0;
    virtual void runDevice(bool running) = 0;
    // The device reported an error or went away: it stops, and the next switch-on looks again.
    void deviceFailed();

private:
    bool active_ = false;
    bool working_ = false; // a device is connected and has not failed since
};

// The picture of a video frame whatever its pixel format, as 32-bit RGB; null when the frame
// cannot be read.
QImage pictureOfFrame(const QVideoFrame& frame);

class CameraFactory
{
public:
    virtual ~CameraFactory() = default;
    // The platform's default video capture device, switched off.
    virtual std::unique_ptr<Camera> defaultCamera() = 0;
    static CameraFactory& real();
};

using Cameras = Seam<CameraFactory>;

} // namespace brivanto::platform
