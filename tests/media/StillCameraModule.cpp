// A camera module for the tests: its camera shows one still picture when switched on. Built as it
// is, it is a module the program accepts; STILL_MODULE_BUILD_OFFSET makes one of another build,
// STILL_MODULE_NEEDS_MISSING_SYMBOL one that needs a function no library defines.
#include "platform/Camera.h"
#include "platform/CameraModuleEntry.h"

#include <QImage>

using namespace brivanto::platform;

#ifdef STILL_MODULE_NEEDS_MISSING_SYMBOL
extern "C" void brivantoNoSuchFunction();
#endif

namespace {

class StillCamera final : public Camera
{
public:
    void setActive(bool active) override
    {
        active_ = active;
        if (active) {
            QImage picture(320, 240, QImage::Format_RGB32);
            picture.fill(qRgb(30, 90, 200));
            Q_EMIT frameReady(picture);
        }
#ifdef STILL_MODULE_NEEDS_MISSING_SYMBOL
        else {
            brivantoNoSuchFunction(); // bound when first called unless the loader binds all at once
        }
#endif
    }
    bool isActive() const override
    {
        return active_;
    }

private:
    bool active_ = false;
};

class StillCameras final : public CameraFactory
{
public:
    std::unique_ptr<Camera> defaultCamera() override { return std::make_unique<StillCamera>(); }
};

#ifndef STILL_MODULE_BUILD_OFFSET
#define STILL_MODULE_BUILD_OFFSET 0
#endif
constexpr int Build = CameraModuleVersion + STILL_MODULE_BUILD_OFFSET;

} // namespace

extern "C" Q_DECL_EXPORT int brivantoCameraModuleVersion()
{
    return Build;
}

extern "C" Q_DECL_EXPORT CameraFactory* brivantoDeviceCameras(int programVersion)
{
    static StillCameras cameras;
    return programVersion == Build ? &cameras : nullptr;
}
