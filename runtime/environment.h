// Environments: the layout the modules read (named storage, language
// objects), followed by the host's own fields (zone, missing-value text).
#pragma once

#include <memory>
#include <string>

#include "abi/anchor.h"
#include "isofmt/host.h"
#include "zones.h"

namespace isofmt::detail {

struct EnvironmentData {
    Zone zone;
    std::string missing_text;
    LanguageObject languages[2] = {};  // [0] without a string table, [1] with the month table
};

// Standard layout, so that an Environment* handed to a module converts back.
struct HostEnvironment {
    Environment base;
    const EnvironmentData* data;
};

// Owns one environment and its data.
class OwnedEnvironment {
public:
    // Throws isofmt::Error for an unknown zone.
    OwnedEnvironment(const EnvironmentConfig& config, NamedArea* named_storage);
    OwnedEnvironment(const OwnedEnvironment&) = delete;
    OwnedEnvironment& operator=(const OwnedEnvironment&) = delete;
    HostEnvironment* get() { return &environment_; }

private:
    EnvironmentData data_;
    HostEnvironment environment_;
};

// The host record behind an environment a module hands back; null gives the
// current host's default environment (itself null when no host lives).
const HostEnvironment* host_environment(const Environment* environment);

}  // namespace isofmt::detail
