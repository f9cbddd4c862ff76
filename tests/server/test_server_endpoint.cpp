#include "ConnectionError.h"
#include "QtPrinters.h"
#include "ServerEndpoint.h"
#include "ServerList.h"

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

// A setting names one host as always, or several servers separated by commas, each with a
// port of its own or the setting's; the first entry that is not an address is named.
TEST(ServerList, ReadsOneHostAsAlwaysAndSeveralEntriesEachWithItsPort) {
    const struct {
        QString hosts;
        QString parsed;  // the servers, or the entry refused
        bool several;
    } cases[] = {
        {"127.0.0.1", "127.0.0.1:7400", false},
        {"::1", "::1:7400", false},
        {"a:7401", "a:7401", false},
        {"a:7401,b", "a:7401, b:7400", true},
        {" a , b:7402 ,", "a:7400, b:7402", true},
        {"[::1]:7401,127.0.0.1", "[::1]:7401, 127.0.0.1:7400", true},
        {"::1,[fe80::1]", "::1:7400, [fe80::1]:7400", true},
        {"a,b:porta", "!b:porta", false},
        {"a,b:70000", "!b:70000", false},
        {"a,b c", "!b c:7400", false},
        {"a,[::1", "![::1", false},
        {"a,[::1]7401", "![::1]7401", false},
        {" , ", "! , ", false},
        {"", "!:7400", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hosts.toStdString());
        if (c.parsed.startsWith(u'!')) {
            try {
                ServerList::Parse(c.hosts, 7400);
                ADD_FAILURE() << "accepted";
            } catch (const EConnectionError& e) {
                EXPECT_EQ(e.Message(), EConnectionError::InvalidAddress(c.parsed.mid(1)).Message());
            }
            continue;
        }
        const ServerList servers = ServerList::Parse(c.hosts, 7400);
        EXPECT_EQ(servers.Address(), c.parsed);
        EXPECT_EQ(servers.Several(), c.several);
    }
}

}  // namespace
}  // namespace fai
