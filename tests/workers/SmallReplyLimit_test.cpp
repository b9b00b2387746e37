// A hostile server announcing a large payload in answer to a short query:
// the launcher refuses it on the announcement instead of waiting for it.
#include <gtest/gtest.h>

#include "protocol/GameServerStatus.h"
#include "protocol/ProtocolError.h"
#include "protocol/UpdateRequests.h"
#include "workers/ServerConversation.h"
#include "support/ScriptedServer.h"
#include "support/WireBytes.h"

namespace qvs {
namespace {

using test::Le32;
using test::ScriptedServer;

constexpr std::int32_t Cap = 64 * 1024;

// The server announces length and then sends nothing: a client that waited
// for the payload would fail with a time-out, not a protocol error.
ScriptedServer Announcing(std::size_t requestSize, const std::string& header) {
    return ScriptedServer({ScriptedServer::Receive(requestSize), ScriptedServer::Send(header),
                           ScriptedServer::HoldUntilClientCloses()});
}

TEST(SmallReplyLimit, ShortQueriesRefuseALargerAnnouncement) {
    struct Case {
        MessageType type;
        CStream request;
    };
    const Case cases[] = {
        {MessageType::Ping, BuildPingRequest()},
        {MessageType::GetLatestVersion, BuildGetLatestVersionRequest("qvs")},
        {MessageType::GetLatestVersion, BuildGetLatestVersionRequest("qvsc")},
        {MessageType::GetCurrentFileVersion, BuildGetCurrentFileVersionRequest("qvs.exe")},
    };
    for (const Case& c : cases) {
        const auto type = static_cast<std::int32_t>(c.type);
        ScriptedServer server = Announcing(c.request.Size(), Le32(type) + Le32(Cap + 1));
        platform::TcpSocket socket;
        EXPECT_THROW(RunUpdateServerConversation(socket, "127.0.0.1", server.Port(), c.request,
                                                 c.type, 5000),
                     ProtocolError)
            << type;
    }
    ScriptedServer game = Announcing(BuildStatusQuery().Size(), Le32(Cap + 1));
    platform::TcpSocket socket;
    EXPECT_THROW(
        RunGameServerConversation(socket, "127.0.0.1", game.Port(), BuildStatusQuery(), 5000),
        ProtocolError);
}

TEST(SmallReplyLimit, AReplyAtTheCapStillArrives) {
    const std::string payload(Cap, 'p');
    ScriptedServer server({ScriptedServer::Receive(BuildPingRequest().Size()),
                           ScriptedServer::Send(Le32(0) + Le32(Cap) + payload)});
    platform::TcpSocket socket;
    const CStream reply = RunUpdateServerConversation(socket, "127.0.0.1", server.Port(),
                                                      BuildPingRequest(), MessageType::Ping, 5000);
    EXPECT_EQ(test::Content(reply), payload);
}

} // namespace
} // namespace qvs
