#include "gui/phone/phone_server.h"

#include <microhttpd.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace pairly::gui::phone {

namespace core = pairly::phone;

struct Exchange {
    MHD_Connection* connection = nullptr;
    core::Request request;
    bool refused = false;  // answered before the request was whole
    bool tooLarge = false;
    bool handedOver = false;
    std::mutex mutex;  // guards the three below
    bool answered = false;
    bool suspended = false;
    core::Response response;
};

namespace {

long long nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::optional<core::IpAddress> fromSockaddr(const sockaddr* addr) {
    if (!addr) return std::nullopt;
    core::IpAddress a;
    if (addr->sa_family == AF_INET) {
        std::memcpy(a.bytes.data(), &reinterpret_cast<const sockaddr_in*>(addr)->sin_addr, 4);
        return a;
    }
    if (addr->sa_family != AF_INET6) return std::nullopt;
    std::memcpy(a.bytes.data(), &reinterpret_cast<const sockaddr_in6*>(addr)->sin6_addr, 16);
    a.family = 6;
    // Read back through the text so that a mapped IPv4 address counts as IPv4.
    return core::parseAddress(core::addressText(a));
}

MHD_Result queue(MHD_Connection* connection, const core::Response& r) {
    MHD_Response* response = MHD_create_response_from_buffer(
        r.body.size(), const_cast<char*>(r.body.data()), MHD_RESPMEM_MUST_COPY);
    if (!response) return MHD_NO;
    for (const core::Header& h : core::commonHeaders())
        MHD_add_response_header(response, h.name.c_str(), h.value.c_str());
    for (const core::Header& h : r.headers)
        MHD_add_response_header(response, h.name.c_str(), h.value.c_str());
    const MHD_Result queued =
        MHD_queue_response(connection, static_cast<unsigned>(r.status), response);
    MHD_destroy_response(response);
    return queued;
}

std::string header(MHD_Connection* c, const char* name) {
    const char* v = MHD_lookup_connection_value(c, MHD_HEADER_KIND, name);
    return v ? v : "";
}

MHD_Result countHeader(void* cls, MHD_ValueKind, const char* key, const char* value) {
    *static_cast<std::size_t*>(cls) += std::strlen(key) + (value ? std::strlen(value) : 0) + 4;
    return MHD_YES;
}

// The first call brings the headers; then the body in pieces; then a call with none.
MHD_Result onRequest(void* cls, MHD_Connection* c, const char* url, const char* method,
                     const char* version, const char* upload, std::size_t* uploadSize,
                     void** context) {
    auto* server = static_cast<PhoneServer*>(cls);
    if (!*context) {
        auto ex = std::make_shared<Exchange>();
        ex->connection = c;
        core::RequestHead head;
        head.method = method;
        head.path = url;
        head.headerBytes = std::strlen(method) + std::strlen(url) + std::strlen(version) + 4;
        MHD_get_connection_values(c, MHD_HEADER_KIND, countHeader, &head.headerBytes);
        if (const char* length = MHD_lookup_connection_value(c, MHD_HEADER_KIND, "Content-Length"))
            head.contentLength = length;
        core::Request& r = ex->request;
        r.method = method;
        r.path = url;
        r.host = header(c, "Host");
        if (MHD_lookup_connection_value(c, MHD_HEADER_KIND, "Origin"))
            r.origin = header(c, "Origin");
        r.contentType = header(c, "Content-Type");
        const MHD_ConnectionInfo* info =
            MHD_get_connection_info(c, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
        if (const auto peer = fromSockaddr(info ? info->client_addr : nullptr))
            r.peer = core::addressText(*peer);
        *context = new std::shared_ptr<Exchange>(ex);
        if (const auto refused = core::checkHead(head)) {
            ex->refused = true;
            return queue(c, *refused);
        }
        return MHD_YES;
    }
    const std::shared_ptr<Exchange> ex = *static_cast<std::shared_ptr<Exchange>*>(*context);
    if (*uploadSize > 0) {
        // A body past the bound (sent in chunks, without a length) is read to its end or
        // to the watchdog's limit, and thrown away.
        if (ex->tooLarge || ex->request.body.size() + *uploadSize > core::kMaxBodyBytes) {
            ex->tooLarge = true;
            ex->request.body.clear();
        } else {
            ex->request.body.append(upload, *uploadSize);
        }
        *uploadSize = 0;
        return MHD_YES;
    }
    {
        std::lock_guard lock(ex->mutex);
        if (ex->answered) return queue(c, ex->response);
    }
    if (ex->refused || ex->handedOver) return MHD_YES;
    if (ex->tooLarge) {
        ex->refused = true;
        return queue(c, core::refusal(413));
    }
    ex->handedOver = true;
    if (!server->handOver(ex)) return queue(c, core::refusal(503));
    return MHD_YES;
}

void onCompleted(void*, MHD_Connection*, void** context, MHD_RequestTerminationCode) {
    delete static_cast<std::shared_ptr<Exchange>*>(*context);
    *context = nullptr;
}

void onConnection(void* cls, MHD_Connection* c, void**, MHD_ConnectionNotificationCode code) {
    const MHD_ConnectionInfo* info = MHD_get_connection_info(c, MHD_CONNECTION_INFO_CONNECTION_FD);
    static_cast<PhoneServer*>(cls)->track(c, info ? info->connect_fd : -1,
                                          code == MHD_CONNECTION_NOTIFY_STARTED);
}

// Only clients of the home network are let in.
MHD_Result acceptHome(void*, const sockaddr* addr, socklen_t) {
    const auto a = fromSockaddr(addr);
    return a && core::isHomeAddress(*a) ? MHD_YES : MHD_NO;
}

// A socket bound to one address, so that a taken port is told as such; -1 with errno.
int listenOn(const core::IpAddress& a, int port) {
    const int family = a.family == 4 ? AF_INET : AF_INET6;
    const int fd = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_storage storage{};
    socklen_t size = 0;
    if (a.family == 4) {
        auto* in = reinterpret_cast<sockaddr_in*>(&storage);
        in->sin_family = AF_INET;
        in->sin_port = htons(static_cast<uint16_t>(port));
        std::memcpy(&in->sin_addr, a.bytes.data(), 4);
        size = sizeof(sockaddr_in);
    } else {
        ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &one, sizeof one);
        auto* in6 = reinterpret_cast<sockaddr_in6*>(&storage);
        in6->sin6_family = AF_INET6;
        in6->sin6_port = htons(static_cast<uint16_t>(port));
        std::memcpy(&in6->sin6_addr, a.bytes.data(), 16);
        size = sizeof(sockaddr_in6);
    }
    if (::bind(fd, reinterpret_cast<sockaddr*>(&storage), size) != 0 || ::listen(fd, 16) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

}  // namespace

PhoneServer::PhoneServer(Answerer answer, WriteTest mayWrite, QObject* parent)
    : QObject(parent), answer_(std::move(answer)), mayWrite_(std::move(mayWrite)) {
    // The event loop is about to wait: no handler of the desktop is running. Not so while
    // a handler lets the window paint (that loop does not wait) or a message box runs its
    // own loop, which the gate sees.
    if (auto* dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &PhoneServer::drainWaiting);
}

PhoneServer::~PhoneServer() { stop(); }

bool PhoneServer::desktopIsIdle() {
    return !QApplication::activeModalWidget() && !QApplication::activePopupWidget() &&
           QThread::currentThread()->loopLevel() <= 1;
}

PhoneServer::Status PhoneServer::start(const std::vector<core::IpAddress>& addresses, int port) {
    stop();
    for (const core::IpAddress& a : addresses) {
        const int fd = listenOn(a, port);
        if (fd < 0) {
            const bool taken = errno == EADDRINUSE;
            if (core::classify(a) != core::AddressClass::Loopback) continue;
            stop();
            return taken ? Status::PortInUse : Status::Failed;
        }
        const unsigned flags = MHD_USE_AUTO_INTERNAL_THREAD | MHD_ALLOW_SUSPEND_RESUME |
                               (a.family == 6 ? MHD_USE_IPv6 : 0);
        MHD_Daemon* d = MHD_start_daemon(
            flags, static_cast<uint16_t>(port), acceptHome, nullptr, onRequest, this,
            MHD_OPTION_LISTEN_SOCKET, fd, MHD_OPTION_CONNECTION_LIMIT, kConnectionLimit,
            MHD_OPTION_PER_IP_CONNECTION_LIMIT, kPerAddressLimit, MHD_OPTION_CONNECTION_TIMEOUT,
            kIdleSeconds, MHD_OPTION_CONNECTION_MEMORY_LIMIT, kConnectionMemory,
            MHD_OPTION_NOTIFY_COMPLETED, onCompleted, nullptr, MHD_OPTION_NOTIFY_CONNECTION,
            onConnection, this, MHD_OPTION_END);
        if (!d) {
            ::close(fd);
            if (core::classify(a) != core::AddressClass::Loopback) continue;
            stop();
            return Status::Failed;
        }
        daemons_.push_back(d);
        addresses_.push_back(a);
    }
    if (daemons_.empty()) return Status::Failed;
    watchStop_ = false;
    watchdog_ = std::thread([this] { watch(); });
    return Status::Listening;
}

void PhoneServer::stop() {
    std::vector<std::shared_ptr<Exchange>> pending;
    {
        std::lock_guard lock(handoverMutex_);
        stopping_ = true;
        for (const auto& weak : handedOver_)
            if (auto ex = weak.lock()) pending.push_back(ex);
        handedOver_.clear();
    }
    // MHD must not be stopped with a connection suspended.
    for (const auto& ex : pending) finish(ex, core::refusal(503));
    waiting_.clear();
    for (MHD_Daemon* d : daemons_) MHD_stop_daemon(d);
    daemons_.clear();
    addresses_.clear();
    if (watchdog_.joinable()) {
        {
            std::lock_guard lock(trackMutex_);
            watchStop_ = true;
        }
        watchWake_.notify_all();
        watchdog_.join();
    }
    {
        std::lock_guard lock(trackMutex_);
        tracked_.clear();
    }
    std::lock_guard lock(handoverMutex_);
    stopping_ = false;
}

bool PhoneServer::handOver(const std::shared_ptr<Exchange>& ex) {
    std::lock_guard lock(handoverMutex_);
    if (stopping_) return false;
    {
        std::lock_guard exLock(ex->mutex);
        ex->suspended = true;
    }
    MHD_suspend_connection(ex->connection);
    setSuspended(ex->connection, true);
    handedOver_.erase(std::remove_if(handedOver_.begin(), handedOver_.end(),
                                     [](const auto& w) { return w.expired(); }),
                      handedOver_.end());
    handedOver_.push_back(ex);
    QMetaObject::invokeMethod(
        this, [this, ex] { take(ex); }, Qt::QueuedConnection);
    return true;
}

void PhoneServer::take(const std::shared_ptr<Exchange>& ex) {
    {
        std::lock_guard lock(ex->mutex);
        if (ex->answered) return;
    }
    // Writes keep their order and wait for the desktop's loop to be idle; reading pages
    // never waits.
    if (mayWrite_ && mayWrite_(ex->request)) {
        waiting_.push_back(ex);
        return;
    }
    run(ex);
}

void PhoneServer::drainWaiting() {
    while (!waiting_.empty() && gate_()) {
        const auto ex = waiting_.front();
        waiting_.pop_front();
        run(ex);
    }
}

void PhoneServer::run(const std::shared_ptr<Exchange>& ex) {
    core::Response response = answer_(ex->request);
    if (response.delayMs > 0) {
        QTimer::singleShot(response.delayMs, this, [this, ex, response] { finish(ex, response); });
        return;
    }
    finish(ex, std::move(response));
}

void PhoneServer::finish(const std::shared_ptr<Exchange>& ex, core::Response response) {
    {
        std::lock_guard lock(ex->mutex);
        if (ex->answered) return;
        ex->response = std::move(response);
        ex->answered = true;
        if (!ex->suspended) return;
        ex->suspended = false;
    }
    setSuspended(ex->connection, false);
    MHD_resume_connection(ex->connection);
}

void PhoneServer::track(MHD_Connection* connection, int fd, bool open) {
    std::lock_guard lock(trackMutex_);
    if (open)
        tracked_[connection] = Tracked{fd, nowMs(), false, false};
    else
        tracked_.erase(connection);
}

void PhoneServer::setSuspended(MHD_Connection* connection, bool suspended) {
    std::lock_guard lock(trackMutex_);
    const auto it = tracked_.find(connection);
    if (it == tracked_.end()) return;
    it->second.suspended = suspended;
    it->second.sinceMs = nowMs();  // the time to send the answer starts now
}

void PhoneServer::watch() {
    std::unique_lock lock(trackMutex_);
    while (!watchStop_) {
        watchWake_.wait_for(lock, std::chrono::milliseconds(500));
        const long long now = nowMs();
        for (auto& [connection, t] : tracked_) {
            if (t.suspended || t.closing || t.fd < 0 || now - t.sinceMs < kRequestSeconds * 1000)
                continue;
            // MHD sees the connection end and closes it on its own thread.
            ::shutdown(t.fd, SHUT_RDWR);
            t.closing = true;
        }
    }
}

}  // namespace pairly::gui::phone
