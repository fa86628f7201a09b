// The program's way to the camera: the device cameras live in a module beside the program
// (brivanto-camera.so, built from CameraModule.cpp) that is loaded when the capture screen first
// asks for a camera. The multimedia toolkit and the libraries behind it (sound servers, codecs,
// network) then cost nothing to the start of the program, nor to a session that never uses the
// camera. Linked into the program only: the tests reach the device cameras in-process.
#include "platform/ModuleCameras.h"

#include <QCoreApplication>

namespace brivanto::platform {

CameraFactory& CameraFactory::real()
{
    static ModuleCameras cameras(QCoreApplication::applicationDirPath() +
                                 QStringLiteral("/brivanto-camera.so"));
    return cameras;
}

} // namespace brivanto::platform
