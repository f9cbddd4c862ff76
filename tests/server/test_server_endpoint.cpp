#include "QtPrinters.h"
#include "ServerEndpoint.h"

#include <gtest/gtest.h>

namespace fai {
namespace {

TEST(ServerEndpoint, TellsAUsableAddressAndWritesItAsAChannelTarget) {
    const struct {
        QString host;
        int port;
        bool valid;
        std::string target;
    } cases[] = {
        {"127.0.0.1", 7400, true, "127.0.0.1:7400"},
        {"fai-servidor.local", 1, true, "fai-servidor.local:1"},
        {"::1", 65535, true, "[::1]:65535"},
        {"[::1]", 7400, true, "[::1]:7400"},
        {"", 7400, false, ":7400"},
        {"127.0.0.1", 0, false, "127.0.0.1:0"},
        {"127.0.0.1", 65536, false, "127.0.0.1:65536"},
        {"127.0.0.1", -1, false, "127.0.0.1:-1"},
        {"fai servidor", 7400, false, "fai servidor:7400"},
        {"fai\tservidor", 7400, false, "fai\tservidor:7400"},
    };
    for (const auto& c : cases) {
        const ServerEndpoint endpoint{c.host, c.port};
        SCOPED_TRACE(endpoint.Address().toStdString());
        EXPECT_EQ(endpoint.IsValid(), c.valid);
        EXPECT_EQ(endpoint.Target(), c.target);
        EXPECT_EQ(endpoint.Address(), c.host + ":" + QString::number(c.port));
    }
}

}  // namespace
}  // namespace fai
