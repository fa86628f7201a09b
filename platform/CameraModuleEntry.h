#pragma once

// What the program and its camera module (brivanto-camera.so) agree on. The module hands the
// program objects whose classes both were compiled from; a module of another build may lay them
// out differently, so each side checks the other's build number before anything else is called.

namespace brivanto::platform {

class CameraFactory;

// The build number of both sides, from the program's version (BRIVANTO_CAMERA_MODULE_VERSION is
// set by the build).
inline constexpr int CameraModuleVersion = BRIVANTO_CAMERA_MODULE_VERSION;

// int brivantoCameraModuleVersion(): the module's build number, asked before anything else.
inline constexpr char CameraModuleVersionSymbol[] = "brivantoCameraModuleVersion";
using CameraModuleVersionEntry = int (*)();

// CameraFactory* brivantoDeviceCameras(int programVersion): the module's device cameras, or null
// when the program's build number is not the module's own.
inline constexpr char CameraModuleCamerasSymbol[] = "brivantoDeviceCameras";
using CameraModuleCamerasEntry = CameraFactory* (*)(int programVersion);

} // namespace brivanto::platform
