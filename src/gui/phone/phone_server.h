#pragma once
// The phone page's HTTP server: GNU libmicrohttpd on this computer's loopback and home
// addresses, with bounded connections (in all and per address), header and body sizes
// and time. Each whole request is handed to the Qt thread by a queued call and answered
// there; a request that would write waits until the desktop's event loop is idle (no
// handler running, no message box open).
#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/phone/address.h"
#include "core/phone/http.h"
#include "core/phone/site.h"

struct MHD_Connection;
struct MHD_Daemon;

namespace pairly::gui::phone {

struct Exchange;

class PhoneServer : public QObject {
    Q_OBJECT
public:
    enum class Status { Off, Listening, PortInUse, Failed };

    // Connections at most per listening address and per client address; seconds a client
    // may stay idle, and seconds it may take to send one request.
    static constexpr unsigned kConnectionLimit = 32;
    static constexpr unsigned kPerAddressLimit = 6;
    static constexpr unsigned kIdleSeconds = 10;
    static constexpr int kRequestSeconds = 15;
    // What one connection may hold while its headers arrive (more gets 431).
    static constexpr std::size_t kConnectionMemory = 16 * 1024;

    // `answer` makes the answer of a whole request on the Qt thread; `mayWrite` tells a
    // request whose answer may write a log.
    using Answerer = std::function<pairly::phone::Response(const pairly::phone::Request&)>;
    using WriteTest = std::function<bool(const pairly::phone::Request&)>;
    PhoneServer(Answerer answer, WriteTest mayWrite, QObject* parent = nullptr);
    ~PhoneServer() override;

    // Listens at `port` on each address (loopback first). PortInUse when the port is taken
    // on loopback; another address that cannot be had is left out.
    Status start(const std::vector<pairly::phone::IpAddress>& addresses, int port);
    // Every request still waiting is answered 503, then the server stops listening.
    void stop();
    bool listening() const { return !daemons_.empty(); }
    // The addresses listened on.
    const std::vector<pairly::phone::IpAddress>& addresses() const { return addresses_; }

    // Asked when the event loop is about to wait, before each waiting write: whether the
    // desktop may be written to now; desktopIsIdle by default.
    void setWriteGate(std::function<bool()> gate) { gate_ = std::move(gate); }
    // No modal window or popup open and no nested event loop running.
    static bool desktopIsIdle();

    // For the MHD threads (see phone_server.cpp).
    bool handOver(const std::shared_ptr<Exchange>& exchange);
    void track(MHD_Connection* connection, int fd, bool open);

private:
    void take(const std::shared_ptr<Exchange>& exchange);
    void run(const std::shared_ptr<Exchange>& exchange);
    void drainWaiting();
    void finish(const std::shared_ptr<Exchange>& exchange, pairly::phone::Response response);
    void setSuspended(MHD_Connection* connection, bool suspended);
    void watch();

    Answerer answer_;
    WriteTest mayWrite_;
    std::function<bool()> gate_ = desktopIsIdle;
    std::vector<MHD_Daemon*> daemons_;
    std::vector<pairly::phone::IpAddress> addresses_;
    std::deque<std::shared_ptr<Exchange>> waiting_;

    // Shared with the MHD threads.
    std::mutex handoverMutex_;
    bool stopping_ = false;
    std::vector<std::weak_ptr<Exchange>> handedOver_;

    // The watchdog closes a connection that takes too long to send its request.
    struct Tracked {
        int fd = -1;
        long long sinceMs = 0;
        bool suspended = false;
        bool closing = false;
    };
    std::mutex trackMutex_;
    std::map<MHD_Connection*, Tracked> tracked_;
    std::condition_variable watchWake_;
    bool watchStop_ = false;
    std::thread watchdog_;
};

}  // namespace pairly::gui::phone
