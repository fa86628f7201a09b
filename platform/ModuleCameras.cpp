#include "platform/ModuleCameras.h"

#include "platform/CameraModuleEntry.h"

#include <QDir>
#include <QLibrary>

namespace brivanto::platform {

Q_LOGGING_CATEGORY(cameraModuleLog, "brivanto.camera")

namespace {

// A camera of the module, or, while the module cannot be used, a camera without support that
// delivers nothing and looks for the module again at every switch-on.
class ModuleCamera final : public Camera
{
public:
    explicit ModuleCamera(ModuleCameras& module) : module_(module) { connectDevice(); }

    void setActive(bool active) override
    {
        if (active && !device_)
            connectDevice();
        active_ = active;
        if (device_)
            device_->setActive(active);
    }
    bool isActive() const override { return active_; }
    bool isInstalled() const override { return device_ != nullptr; }

private:
    void connectDevice()
    {
        CameraFactory* devices = module_.deviceCameras();
        if (!devices)
            return;
        device_ = devices->defaultCamera();
        connect(device_.get(), &Camera::frameReady, this, &Camera::frameReady);
    }

    ModuleCameras& module_;
    std::unique_ptr<Camera> device_;
    bool active_ = false;
};

// The cameras of the loaded `module`, asked for only once both sides know they are of one build;
// null, with the reason, when the module cannot be used.
CameraFactory* camerasOf(QLibrary& module, QString& reason)
{
    const auto version =
        reinterpret_cast<CameraModuleVersionEntry>(module.resolve(CameraModuleVersionSymbol));
    const auto cameras =
        reinterpret_cast<CameraModuleCamerasEntry>(module.resolve(CameraModuleCamerasSymbol));
    if (!version || !cameras) {
        reason = QStringLiteral("it is not a camera module (%1)").arg(module.errorString());
        return nullptr;
    }
    if (const int moduleVersion = version(); moduleVersion != CameraModuleVersion) {
        reason = QStringLiteral("it is of build %1, the program of build %2")
                     .arg(moduleVersion)
                     .arg(CameraModuleVersion);
        return nullptr;
    }
    CameraFactory* devices = cameras(CameraModuleVersion);
    if (!devices)
        reason = QStringLiteral("it refused the program's build %1").arg(CameraModuleVersion);
    return devices;
}

} // namespace

ModuleCameras::ModuleCameras(QString modulePath) : modulePath_(std::move(modulePath)) {}

std::unique_ptr<Camera> ModuleCameras::defaultCamera()
{
    return std::make_unique<ModuleCamera>(*this);
}

CameraFactory* ModuleCameras::deviceCameras()
{
    if (devices_)
        return devices_;
    QLibrary module(modulePath_);
    // A module whose libraries lack a symbol fails here, not in the middle of a camera call.
    module.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!module.load()) {
        qCWarning(cameraModuleLog).noquote() << "camera module not loaded:" << module.errorString();
        return nullptr;
    }
    QString reason;
    CameraFactory* devices = camerasOf(module, reason);
    if (!devices) {
        qCWarning(cameraModuleLog).noquote()
            << "camera module" << QDir::toNativeSeparators(modulePath_) << "refused:" << reason;
        // Let go of it, so that a module put in its place is loaded afresh.
        module.unload();
        return nullptr;
    }
    devices_ = devices; // never unloaded
    return devices_;
}

} // namespace brivanto::platform
