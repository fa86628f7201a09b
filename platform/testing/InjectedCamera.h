#pragma once

#include "platform/Camera.h"

#include <QList>
#include <QPointer>

namespace brivanto::platform::testing {

// A camera whose frames the test hands in. Frames go through the same video sink and hand-over
// to the user-interface thread as the real camera's, from the test's thread or any other.
class InjectedCamera final : public VideoSinkCamera
{
    Q_OBJECT
public:
    void setActive(bool active) override;
    bool isActive() const override { return active_; }

    // Hands a frame to the sink as the device would; frames of a camera that is off are lost.
    void inject(const QVideoFrame& frame);
    void inject(const QImage& picture) { inject(frameOf(picture)); }
    // The device goes away: it is off and cannot be switched on again.
    void disappear();

    // How often the screen switched the camera on and off, in order (true = on).
    const QList<bool>& switches() const { return switches_; }

    // A video frame holding `picture` in the matching pixel format.
    static QVideoFrame frameOf(const QImage& picture);

private:
    bool active_ = false;
    bool gone_ = false;
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
