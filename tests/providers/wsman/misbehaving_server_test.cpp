// The client against servers that misbehave: every case ends in a clear
// WbemError within the time limits, never a hang, a crash or a silently
// shortened enumeration.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "providers/wsman/wsman_provider.h"
#include "providers/wsman/wsman_rows.h"
#include "scripted_server.h"
#include "wbem/wbem_error.h"

namespace vantrel::wsman::test {
namespace {

using namespace std::chrono_literals;

const char* kEnvelopeOpen =
    "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\" "
    "xmlns:n=\"http://schemas.xmlsoap.org/ws/2004/09/enumeration\" "
    "xmlns:w=\"http://schemas.dmtf.org/wbem/wsman/1/wsman.xsd\"><s:Header/><s:Body>";
const char* kEnvelopeClose = "</s:Body></s:Envelope>";

std::string item(int n) {
    return "<w:XmlFragment><Name>row " + std::to_string(n) + "</Name></w:XmlFragment>";
}

// Enumerate gives row 0 and context c1; each Pull gives one more row.
std::string enumerateAnswer() {
    return std::string(kEnvelopeOpen) + "<n:EnumerateResponse><n:EnumerationContext>c1</n:EnumerationContext><w:Items>" +
           item(0) + "</w:Items></n:EnumerateResponse>" + kEnvelopeClose;
}

std::string pullAnswer(int n, bool last) {
    return std::string(kEnvelopeOpen) + "<n:PullResponse><n:EnumerationContext>c" + std::to_string(n + 1) +
           "</n:EnumerationContext><n:Items>" + item(n) + "</n:Items>" + (last ? "<n:EndOfSequence/>" : "") +
           "</n:PullResponse>" + kEnvelopeClose;
}

std::string faultAnswer(const std::string& subcode, const std::string& text) {
    return std::string(kEnvelopeOpen) + "<s:Fault><s:Code><s:Value>s:Receiver</s:Value><s:Subcode><s:Value>" +
           subcode + "</s:Value></s:Subcode></s:Code><s:Reason><s:Text xml:lang=\"en-US\">" + text +
           "</s:Text></s:Reason></s:Fault>" + kEnvelopeClose;
}

using PullScript = std::function<void(int pull, httplib::Response&)>;

ScriptedServer::Script serverWith(PullScript onPull) {
    auto pulls = std::make_shared<std::atomic<int>>(0);
    return [onPull, pulls](const httplib::Request& req, httplib::Response& res) {
        if (isAction(req, "Identify")) return res.set_content(identifyAnswer(), "application/soap+xml");
        if (isAction(req, "Enumerate")) return res.set_content(enumerateAnswer(), "application/soap+xml");
        if (isAction(req, "Release")) return res.set_content(std::string(kEnvelopeOpen) + kEnvelopeClose, "application/soap+xml");
        onPull(++*pulls, res);
    };
}

NodeConnectionSettings quick() {
    NodeConnectionSettings s;
    s.plainHttp = true;
    s.connectTimeout = 1000ms;
    s.requestTimeout = 700ms;
    s.maxResponseBytes = 64 * 1024;
    return s;
}

// Reads every row; returns the error that ended the enumeration.
wbem::WbemError enumerateUntilError(const std::string& address, int* rows = nullptr) {
    WsmanProvider provider;
    provider.setNodeSettings(address, quick());
    try {
        auto services = provider.connect({address, "root\\cimv2", "u", "p"});
        auto set = services->ExecQuery("Select Name From Win32_Fan");
        int n = 0;
        while (set->next()) ++n;
        if (rows) *rows = n;
    } catch (const wbem::WbemError& e) {
        return e;
    }
    return wbem::WbemError(wbem::ErrorCode::Failed, "no error");
}

TEST(MisbehavingServer, AWellBehavedServerDeliversEveryRow) {
    ScriptedServer server(serverWith([](int pull, httplib::Response& res) {
        res.set_content(pullAnswer(pull, pull == 3), "application/soap+xml");
    }));
    int rows = 0;
    EXPECT_STREQ(enumerateUntilError(server.address(), &rows).what(), "no error");
    EXPECT_EQ(rows, 4);
}

TEST(MisbehavingServer, ATimedOutPullIsAskedAgainAndTheRowsCome) {
    // The node's own time limit passes twice before the second page is ready.
    ScriptedServer server(serverWith([](int pull, httplib::Response& res) {
        if (pull == 2 || pull == 3) {
            res.status = 500;
            res.set_content(faultAnswer("w:TimedOut", "The WS-Management service cannot complete the operation within "
                                                      "the time specified in OperationTimeout."),
                            "application/soap+xml");
            return;
        }
        res.set_content(pullAnswer(pull == 1 ? 1 : 2, pull == 4), "application/soap+xml");
    }));
    int rows = 0;
    EXPECT_STREQ(enumerateUntilError(server.address(), &rows).what(), "no error");
    EXPECT_EQ(rows, 3);
}

TEST(MisbehavingServer, AnEnumerationLeftEarlyIsReleased) {
    std::atomic<int> releases{0};
    auto script = serverWith([](int pull, httplib::Response& res) {
        if (pull == 1) return res.set_content(pullAnswer(1, false), "application/soap+xml");
        res.status = 500;
        res.set_content(faultAnswer("w:QuotaLimit", "The quota is spent."), "application/soap+xml");
    });
    ScriptedServer server([&](const httplib::Request& req, httplib::Response& res) {
        if (isAction(req, "Release")) ++releases;
        script(req, res);
    });
    // A fault during the enumeration, and a caller that stops reading after one row.
    EXPECT_EQ(enumerateUntilError(server.address()).code(), wbem::ErrorCode::Failed);
    WsmanProvider provider;
    provider.setNodeSettings(server.address(), quick());
    {
        auto services = provider.connect({server.address(), "root\\cimv2", "u", "p"});
        auto set = services->ExecQuery("Select Name From Win32_Fan");
        ASSERT_TRUE(set->next());
    }
    EXPECT_EQ(releases.load(), 2);
}

struct MisbehaviourCase {
    const char* name;
    PullScript onPull;
    const char* textPart;
    // A fault is the node's answer for this class only; everything else is a node gone wrong.
    wbem::ErrorCode code = wbem::ErrorCode::ConnectionFailed;
};

class Misbehaviour : public ::testing::TestWithParam<MisbehaviourCase> {};

TEST_P(Misbehaviour, EndsTheEnumerationWithAClearError) {
    ScriptedServer server(serverWith(GetParam().onPull));
    const auto started = std::chrono::steady_clock::now();
    const wbem::WbemError e = enumerateUntilError(server.address());
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    EXPECT_EQ(e.code(), GetParam().code) << e.what();
    EXPECT_NE(std::string(e.what()).find(GetParam().textPart), std::string::npos) << e.what();
}

INSTANTIATE_TEST_SUITE_P(
    Pull, Misbehaviour,
    ::testing::Values(
        MisbehaviourCase{"ClosedMidAnswer",
                         [](int pull, httplib::Response& res) {
                             if (pull < 2) return res.set_content(pullAnswer(pull, false), "application/soap+xml");
                             // Promises 4096 bytes, sends a few, then hangs up.
                             res.set_content_provider(4096, "application/soap+xml",
                                                      [](size_t, size_t, httplib::DataSink& sink) {
                                                          sink.write("<s:Envelope", 11);
                                                          return false;
                                                      });
                         },
                         "closed before the answer was complete"},
        MisbehaviourCase{"Slow",
                         [](int, httplib::Response& res) {
                             std::this_thread::sleep_for(1500ms);
                             res.set_content(pullAnswer(1, true), "application/soap+xml");
                         },
                         "in time"},
        MisbehaviourCase{"MalformedXml",
                         [](int, httplib::Response& res) {
                             res.set_content("<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\"><s:Body>",
                                             "application/soap+xml");
                         },
                         "not usable"},
        MisbehaviourCase{"HugeAnswer",
                         [](int, httplib::Response& res) {
                             std::string body = std::string(kEnvelopeOpen) + "<n:PullResponse><n:Items>";
                             while (body.size() < 200 * 1024) body += item(7);
                             res.set_content(body + "</n:Items></n:PullResponse>" + kEnvelopeClose, "application/soap+xml");
                         },
                         "larger than the limit"},
        MisbehaviourCase{"ExpiredContext",
                         [](int, httplib::Response& res) {
                             res.status = 500;
                             res.set_content(faultAnswer("n:InvalidEnumerationContext",
                                                         "The enumeration context supplied in the message is not valid."),
                                             "application/soap+xml");
                         },
                         "enumeration context supplied in the message is not valid", wbem::ErrorCode::Failed},
        MisbehaviourCase{"FaultMidSequence",
                         [](int pull, httplib::Response& res) {
                             if (pull < 3) return res.set_content(pullAnswer(pull, false), "application/soap+xml");
                             res.status = 500;
                             res.set_content(faultAnswer("w:InternalError", "The provider failed."), "application/soap+xml");
                         },
                         "The provider failed.", wbem::ErrorCode::Failed},
        MisbehaviourCase{"NoEndAndNoContext",
                         [](int, httplib::Response& res) {
                             res.set_content(std::string(kEnvelopeOpen) + "<n:PullResponse><n:Items>" + item(1) +
                                                 "</n:Items></n:PullResponse>" + kEnvelopeClose,
                                             "application/soap+xml");
                         },
                         "without saying so"},
        MisbehaviourCase{"EndlessEmptyPulls",
                         [](int pull, httplib::Response& res) {
                             res.set_content(std::string(kEnvelopeOpen) + "<n:PullResponse><n:EnumerationContext>e" +
                                                 std::to_string(pull) + "</n:EnumerationContext></n:PullResponse>" +
                                                 kEnvelopeClose,
                                             "application/soap+xml");
                         },
                         "without items"},
        MisbehaviourCase{"HugeHeader",
                         [](int pull, httplib::Response& res) {
                             res.set_header("X-Padding", std::string(2u << 20, 'a'));
                             res.set_content(pullAnswer(pull, true), "application/soap+xml");
                         },
                         "the answer's headers are too large"},
        MisbehaviourCase{"ManyHeaders",
                         [](int pull, httplib::Response& res) {
                             for (int i = 0; i < 64; ++i)
                                 res.set_header("X-Padding-" + std::to_string(i), std::string(8000, 'a'));
                             res.set_content(pullAnswer(pull, true), "application/soap+xml");
                         },
                         "the answer's headers are too large"},
        MisbehaviourCase{"NotWsman",
                         [](int, httplib::Response& res) {
                             res.status = 404;
                             res.set_content("<html>no</html>", "text/html");
                         },
                         "HTTP status 404"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MisbehavingServer, TheDeadlineCoversReadingTheAnswers) {
    Response first;
    first.kind = ResponseKind::Enumerate;
    first.endOfSequence = true;
    first.items.resize(3);
    for (auto& item : first.items) item.properties.push_back({"Name", false, false, false, "", "fan"});
    for (auto [deadline, rows] : {std::pair{std::chrono::milliseconds(60000), 3}, {std::chrono::milliseconds(-1), 0}}) {
        WsmanRowSet set(nullptr, first, nullptr, 10, deadline);
        int n = 0;
        try {
            while (set.next()) ++n;
        } catch (const wbem::WbemError& e) {
            EXPECT_STREQ(e.what(), "The enumeration took too long and was given up");
        }
        EXPECT_EQ(n, rows) << deadline.count();
    }
}

TEST(MisbehavingServer, RefusedLoginIsAccessDeniedAtConnect) {
    ScriptedServer server([](const httplib::Request&, httplib::Response& res) {
        res.status = 401;
        res.set_header("WWW-Authenticate", "Basic realm=\"WSMAN\"");
    });
    WsmanProvider provider;
    provider.setNodeSettings(server.address(), quick());
    try {
        provider.connect({server.address(), "root\\cimv2", "u", "wrong"});
        FAIL() << "connected";
    } catch (const wbem::WbemError& e) {
        EXPECT_EQ(e.code(), wbem::ErrorCode::AccessDenied);
        EXPECT_STREQ(e.what(), "Access denied");
    }
}

TEST(MisbehavingServer, ANodeThatTakesNoBasicLoginSaysSo) {
    ScriptedServer server([](const httplib::Request&, httplib::Response& res) {
        res.status = 401;
        res.headers.emplace("WWW-Authenticate", "Negotiate");
        res.headers.emplace("WWW-Authenticate", "Kerberos");
    });
    WsmanProvider provider;
    provider.setNodeSettings(server.address(), quick());
    try {
        provider.connect({server.address(), "root\\cimv2", "u", "p"});
        FAIL() << "connected";
    } catch (const wbem::WbemError& e) {
        EXPECT_EQ(e.code(), wbem::ErrorCode::AccessDenied);
        EXPECT_STREQ(e.what(),
                     "Access denied: the node does not accept Basic login (it offers Negotiate, Kerberos); use "
                     "--negotiate-http (the transport \"HTTP with Negotiate\"), or enable Basic on HTTPS");
    }
}

TEST(MisbehavingServer, NobodyListeningIsAClearFailureAtConnect) {
    int port;
    {
        ScriptedServer gone([](const auto&, auto&) {});
        port = gone.port();
    }
    const std::string address = "127.0.0.1:" + std::to_string(port);
    WsmanProvider provider;
    provider.setNodeSettings(address, quick());
    try {
        provider.connect({address, "root\\cimv2", "u", "p"});
        FAIL() << "connected";
    } catch (const wbem::WbemError& e) {
        EXPECT_EQ(e.code(), wbem::ErrorCode::ConnectionFailed);
        // Which port of which node, and what the system said.
        EXPECT_EQ(std::string(e.what()).rfind("No answer from 127.0.0.1 port " + std::to_string(port) +
                                                  ": Connection refused (",
                                              0),
                  0u)
            << e.what();
    }
}

TEST(MisbehavingServer, HttpsIsTheDefaultAndPlainHttpIsNotTriedWithoutPermission) {
    std::atomic<int> requests{0};
    ScriptedServer server([&](const auto&, auto& res) {
        ++requests;
        res.set_content(identifyAnswer(), "application/soap+xml");
    });
    WsmanProvider provider;  // no node settings: HTTPS
    NodeConnectionSettings s;
    s.connectTimeout = 1000ms;
    s.requestTimeout = 1000ms;
    provider.setNodeSettings(server.address(), s);
    EXPECT_THROW(provider.connect({server.address(), "root\\cimv2", "u", "p"}), wbem::WbemError);
    EXPECT_EQ(requests.load(), 0);  // the TLS handshake failed before any request
}

}  // namespace
}  // namespace vantrel::wsman::test
