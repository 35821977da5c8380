#include "DriverPackage.h"

#include "res/resource.h"

std::optional<DriverPackage> LoadDriverPackage()
{
    HRSRC resource = ::FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_DRIVER_PACKAGE), RT_RCDATA);
    if (!resource)
        return std::nullopt;
    const DWORD size = ::SizeofResource(nullptr, resource);
    HGLOBAL loaded = ::LoadResource(nullptr, resource);
    if (!loaded)
        return std::nullopt;
    return DriverPackage{ static_cast<const BYTE*>(::LockResource(loaded)), size };
}
