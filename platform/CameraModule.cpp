// The module of the device cameras that the program loads when it first needs a camera (see
// CameraLoader.cpp): it holds the camera code and links the multimedia toolkit.
#include "platform/Camera.h"

extern "C" Q_DECL_EXPORT brivanto::platform::CameraFactory* brivantoDeviceCameras()
{
    return &brivanto::platform::CameraFactory::real();
}
