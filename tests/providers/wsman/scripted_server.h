#pragma once
// A WS-Management server for tests: plain HTTP on a free loopback port,
// answering every POST /wsman through a script, on its own thread.

#include <httplib.h>

#include <functional>
#include <string>
#include <thread>

namespace vantrel::wsman::test {

class ScriptedServer {
public:
    using Script = std::function<void(const httplib::Request&, httplib::Response&)>;

    explicit ScriptedServer(Script script) : script_(std::move(script)) {
        server_.set_tcp_nodelay(true);
        server_.Post("/wsman", [this](const httplib::Request& req, httplib::Response& res) { script_(req, res); });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~ScriptedServer() {
        server_.stop();
        thread_.join();
    }

    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    int port() const { return port_; }

private:
    Script script_;
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

// The body of a SOAP request names its action once; enough to tell them apart.
inline bool isAction(const httplib::Request& req, const char* localName) {
    return req.body.find(std::string(":") + localName + ">") != std::string::npos ||
           req.body.find(std::string(":") + localName + "/>") != std::string::npos;
}

inline std::string identifyAnswer() {
    return "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\" "
           "xmlns:wsmid=\"http://schemas.dmtf.org/wbem/wsman/identity/1/wsmanidentity.xsd\"><s:Header/><s:Body>"
           "<wsmid:IdentifyResponse><wsmid:ProtocolVersion>http://schemas.dmtf.org/wbem/wsman/1/wsman.xsd"
           "</wsmid:ProtocolVersion><wsmid:ProductVendor>Test</wsmid:ProductVendor><wsmid:ProductVersion>1"
           "</wsmid:ProductVersion></wsmid:IdentifyResponse></s:Body></s:Envelope>";
}

}  // namespace vantrel::wsman::test
