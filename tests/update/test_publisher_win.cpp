#include "test_publisher_win.h"

#include <windows.h>
#include <bcrypt.h>

#include <array>
#include <cstring>

namespace {

using Thermolyx::kPackageSignatureSize;

std::array<UCHAR, 32> Sha256(const std::string& bytes) {
    std::array<UCHAR, 32> digest{};
    BCRYPT_ALG_HANDLE rawAlgorithm = nullptr;
    if (BCryptOpenAlgorithmProvider(&rawAlgorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) {
        return digest;
    }
    const Thermolyx::UniqueBcryptAlgorithm algorithm(rawAlgorithm);
    BCRYPT_HASH_HANDLE rawHash = nullptr;
    if (BCryptCreateHash(algorithm.Get(), &rawHash, nullptr, 0, nullptr, 0, 0) == 0) {
        const Thermolyx::UniqueBcryptHash hash(rawHash);
        BCryptHashData(hash.Get(), reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                       static_cast<ULONG>(bytes.size()), 0);
        BCryptFinishHash(hash.Get(), digest.data(), static_cast<ULONG>(digest.size()), 0);
    }
    return digest;
}

}  // namespace

TestPublisher::TestPublisher() {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0) != 0) {
        return;
    }
    algorithm_.Reset(algorithm);
    BCRYPT_KEY_HANDLE keyPair = nullptr;
    if (BCryptGenerateKeyPair(algorithm, &keyPair, 256, 0) != 0) {
        return;
    }
    keyPair_.Reset(keyPair);
    if (BCryptFinalizeKeyPair(keyPair, 0) != 0) {
        keyPair_.Reset();
        return;
    }
    std::array<UCHAR, sizeof(BCRYPT_ECCKEY_BLOB) + 64> blob{};
    ULONG size = 0;
    if (BCryptExportKey(keyPair, nullptr, BCRYPT_ECCPUBLIC_BLOB, blob.data(), static_cast<ULONG>(blob.size()), &size,
                        0) == 0) {
        std::memcpy(key_.data(), blob.data() + sizeof(BCRYPT_ECCKEY_BLOB), key_.size());
    }
}

std::string TestPublisher::Sign(const std::string& package) const {
    std::array<UCHAR, 32> digest = Sha256(package);
    std::string signature(kPackageSignatureSize, '\0');
    ULONG size = 0;
    if (!keyPair_ ||
        BCryptSignHash(keyPair_.Get(), nullptr, digest.data(), static_cast<ULONG>(digest.size()),
                       reinterpret_cast<PUCHAR>(signature.data()), static_cast<ULONG>(signature.size()), &size,
                       0) != 0 ||
        size != signature.size()) {
        return {};
    }
    return signature;
}
