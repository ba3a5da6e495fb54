#pragma once

#include <windows.h>
#include <bcrypt.h>

#include "base/win/handles.h"

namespace Thermolyx {

inline void CloseAlgorithmProvider(BCRYPT_ALG_HANDLE algorithm) { ::BCryptCloseAlgorithmProvider(algorithm, 0); }

// The system cryptography's algorithm providers, hashes and keys.
using UniqueBcryptAlgorithm = Base::UniqueAny<
    Base::PreservingErrorTraits<BCRYPT_ALG_HANDLE, CloseAlgorithmProvider, Base::NullValue<BCRYPT_ALG_HANDLE>>>;
using UniqueBcryptHash = Base::UniqueAny<
    Base::PreservingErrorTraits<BCRYPT_HASH_HANDLE, ::BCryptDestroyHash, Base::NullValue<BCRYPT_HASH_HANDLE>>>;
using UniqueBcryptKey = Base::UniqueAny<
    Base::PreservingErrorTraits<BCRYPT_KEY_HANDLE, ::BCryptDestroyKey, Base::NullValue<BCRYPT_KEY_HANDLE>>>;

}  // namespace Thermolyx
