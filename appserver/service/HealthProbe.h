#pragma once

#include <QString>

#include <chrono>

namespace fai::appserver {

// What a server's standard health service answered, as a monitor asks it
// (fai-appserver --health).
struct HealthAnswer {
    bool serving = false;
    QString said;  // for the administrator, in a line
};

HealthAnswer ProbeHealth(const QString& address, std::chrono::milliseconds deadline);

}  // namespace fai::appserver
