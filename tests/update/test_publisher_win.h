#pragma once

#include <string>

#include "update/bcrypt_handles_win.h"
#include "update/publisher_key.h"

// A publisher key pair made for one test by the system's own cryptography; signs
// packages the way the publisher script does (ECDSA P-256 over SHA-256, r then s).
class TestPublisher {
public:
    TestPublisher();
    TestPublisher(const TestPublisher&) = delete;
    TestPublisher& operator=(const TestPublisher&) = delete;

    const Thermolyx::PublisherKey& Key() const { return key_; }
    // The 64-byte signature of `package`; empty if signing failed.
    std::string Sign(const std::string& package) const;

private:
    Thermolyx::UniqueBcryptAlgorithm algorithm_;
    Thermolyx::UniqueBcryptKey keyPair_;
    Thermolyx::PublisherKey key_{};
};
