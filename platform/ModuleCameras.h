#pragma once

#include "platform/Camera.h"

#include <QLoggingCategory>
#include <QString>

namespace brivanto::platform {

Q_DECLARE_LOGGING_CATEGORY(cameraModuleLog)

// The device cameras of the camera module, a library beside the program that is loaded when a
// camera is first asked for, with every symbol resolved at once. A module that is missing, cannot
// be loaded or comes from another build is not used: the reason goes to the log, the cameras say
// the support is not installed, and the next camera or switch-on tries again, so a module put in
// place while the program runs is found. A module once loaded stays loaded: its cameras may live
// until the program ends.
class ModuleCameras final : public CameraFactory
{
public:
    explicit ModuleCameras(QString modulePath);

    // A camera that loads the module, if need be, when it is made and when it is switched on.
    std::unique_ptr<Camera> defaultCamera() override;
    // The module's own cameras, loading it if it is not loaded yet; null when it cannot be used.
    CameraFactory* deviceCameras();

private:
    QString modulePath_;
    CameraFactory* devices_ = nullptr;
};

} // namespace brivanto::platform
