#pragma once

#include "platform/Camera.h"

#include <QList>
#include <QPointer>

namespace brivanto::platform::testing {

// A camera whose frames the test hands in. It is switched on and off, and looks for its device,
// as the real camera does; frames go through the same video sink and hand-over to the
// user-interface thread, from the test's thread or any other. Its device is plugged in until the
// test says otherwise.
class InjectedCamera final : public DeviceCamera
{
    Q_OBJECT
public:
    void setActive(bool active) override;

    // Hands a frame to the sink as the device would; frames of a device that is not running are
    // lost.
    void inject(const QVideoFrame& frame);
    void inject(const QImage& picture) { inject(frameOf(picture)); }
    // The device goes away: it stops, and is not found until it is plugged in again.
    void disappear();
    void plugIn() { plugged_ = true; }
    // The device reports an error and stops; it is still there.
    void fail() { deviceFailed(); }
    // Whether the device is delivering frames.
    bool isRunning() const { return running_; }

    // How often the screen switched the camera on and off, in order (true = on).
    const QList<bool>& switches() const { return switches_; }

    // A video frame holding `picture` in the matching pixel format.
    static QVideoFrame frameOf(const QImage& picture);

private:
    bool connectDevice() override;
    void disconnectDevice() override {}
    void runDevice(bool running) override { running_ = running; }

    bool plugged_ = true;
    bool running_ = false;
    QList<bool> switches_;
};

// Hands out injected cameras and keeps the last one for the test.
class InjectedCameras final : public CameraFactory
{
public:
    std::unique_ptr<Camera> defaultCamera() override;
    InjectedCamera* last() const { return last_; }

private:
    QPointer<InjectedCamera> last_;
};

} // namespace brivanto::platform::testing
