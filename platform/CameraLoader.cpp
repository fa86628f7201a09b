// The program's way to the camera: the device cameras live in a module beside the program
// (brivanto-camera.so, built from CameraModule.cpp) that is loaded when the capture screen first
// asks for a camera. The multimedia toolkit and the libraries behind it (sound servers, codecs,
// network) then cost nothing to the start of the program, nor to a session that never uses the
// camera. Linked into the program only: the tests reach the device cameras in-process.
#include "platform/Camera.h"

#include <QCoreApplication>
#include <QLibrary>

namespace brivanto::platform {
namespace {

// Without the module the camera is missing, and a missing camera delivers nothing.
class MissingCamera final : public Camera
{
public:
    void setActive(bool active) override { active_ = active; }
    bool isActive() const override { return active_; }

private:
    bool active_ = false;
};

class MissingCameras final : public CameraFactory
{
public:
    std::unique_ptr<Camera> defaultCamera() override { return std::make_unique<MissingCamera>(); }
};

CameraFactory* loadCameraModule()
{
    // Never unloaded: the cameras it made may live until the program ends.
    QLibrary module(QCoreApplication::applicationDirPath() + QStringLiteral("/brivanto-camera"));
    using Entry = CameraFactory* (*)();
    const auto entry = reinterpret_cast<Entry>(module.resolve("brivantoDeviceCameras"));
    return entry ? entry() : nullptr;
}

} // namespace

CameraFactory& CameraFactory::real()
{
    static CameraFactory* const devices = loadCameraModule();
    if (devices)
        return *devices;
    static MissingCameras missing;
    return missing;
}

} // namespace brivanto::platform
