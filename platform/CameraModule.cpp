// The module of the device cameras that the program loads when it first needs a camera (see
// ModuleCameras.cpp): it holds the camera code and links the multimedia toolkit.
#include "platform/Camera.h"
#include "platform/CameraModuleEntry.h"

extern "C" Q_DECL_EXPORT int brivantoCameraModuleVersion()
{
    return brivanto::platform::CameraModuleVersion;
}

extern "C" Q_DECL_EXPORT brivanto::platform::CameraFactory* brivantoDeviceCameras(int programVersion)
{
    if (programVersion != brivanto::platform::CameraModuleVersion)
        return nullptr;
    return &brivanto::platform::CameraFactory::real();
}
