#include "thermal_zone_win.h"

#include <windows.h>
#include <wbemcli.h>

#include "base/win/handles.h"

namespace {

template <typename Interface>
using ComPtr = Base::UniqueComPtr<Interface>;

// The zone reports tenths of a kelvin.
float TenthsOfKelvinToCelsius(long tenths) { return static_cast<float>(tenths) / 10.0f - 273.15f; }

}  // namespace

std::optional<float> ReadAcpiThermalZoneCelsius() {
    IWbemLocator* rawLocator = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                  reinterpret_cast<void**>(&rawLocator)))) {
        return std::nullopt;
    }
    ComPtr<IWbemLocator> locator(rawLocator);
    IWbemServices* rawServices = nullptr;
    Base::UniqueBstr nameSpace(::SysAllocString(L"ROOT\\WMI"));
    if (FAILED(locator.Get()->ConnectServer(nameSpace.Get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                            &rawServices))) {
        return std::nullopt;
    }
    ComPtr<IWbemServices> services(rawServices);
    // WMI answers a proxy only with impersonation allowed.
    ::CoSetProxyBlanket(services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                        RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    Base::UniqueBstr language(::SysAllocString(L"WQL"));
    Base::UniqueBstr query(::SysAllocString(L"SELECT CurrentTemperature FROM MSAcpi_ThermalZoneTemperature"));
    IEnumWbemClassObject* rawRows = nullptr;
    if (FAILED(services.Get()->ExecQuery(language.Get(), query.Get(),
                                         WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, &rawRows))) {
        return std::nullopt;
    }
    ComPtr<IEnumWbemClassObject> rows(rawRows);
    std::optional<float> hottest;
    for (;;) {
        IWbemClassObject* rawRow = nullptr;
        ULONG returned = 0;
        if (rows.Get()->Next(WBEM_INFINITE, 1, &rawRow, &returned) != WBEM_S_NO_ERROR || returned == 0) {
            break;
        }
        ComPtr<IWbemClassObject> row(rawRow);
        VARIANT value;
        ::VariantInit(&value);
        if (SUCCEEDED(row.Get()->Get(L"CurrentTemperature", 0, &value, nullptr, nullptr))) {
            VARIANT asLong;
            ::VariantInit(&asLong);
            if (SUCCEEDED(::VariantChangeType(&asLong, &value, 0, VT_I4)) && asLong.lVal > 0) {
                const float celsius = TenthsOfKelvinToCelsius(asLong.lVal);
                if (!hottest || celsius > *hottest) {
                    hottest = celsius;
                }
            }
            ::VariantClear(&asLong);
        }
        ::VariantClear(&value);
    }
    return hottest;
}
