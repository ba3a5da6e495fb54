#pragma once

#include <optional>

// The hottest ACPI thermal zone in degrees Celsius, through WMI, where the machine's
// firmware offers one (many desktops do not). Needs COM initialised on the thread.
std::optional<float> ReadAcpiThermalZoneCelsius();
