#include "stream_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>

namespace orvanta::test {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTick = std::chrono::milliseconds(10);

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string IcyBlock(const std::string& title) {
    const std::string text = title.empty() ? "" : "StreamTitle='" + title + "';";
    const std::size_t blocks = (text.size() + 15) / 16;
    std::string out(1, static_cast<char>(blocks));
    out += text;
    out.resize(1 + blocks * 16, '\0');
    return out;
}

} // namespace

StreamServer::StreamServer() {
    FListen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof(addr);
    if (FListen < 0 || ::bind(FListen, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 ||
        ::listen(FListen, 64) != 0 ||
        ::getsockname(FListen, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        throw std::runtime_error("test stream server: cannot listen on 127.0.0.1");
    FPort = ntohs(addr.sin_port);
    FAcceptor = std::thread([this] { AcceptLoop(); });
}

StreamServer::~StreamServer() {
    FStop = true;
    FAcceptor.join();
    {
        std::lock_guard lock(FLock);
        for (int fd : FClients)
            ::shutdown(fd, SHUT_RDWR);
    }
    for (Worker& worker : FWorkers)
        worker.thread.join();
    ::close(FListen);
}

void StreamServer::Add(const std::string& path, Route route) {
    std::lock_guard lock(FLock);
    if (route.kind == Route::Kind::Stream && !FFiles.contains(route.file)) {
        std::ifstream in(route.file, std::ios::binary);
        if (!in)
            throw std::runtime_error("test stream server: missing file " + route.file);
        FFiles[route.file] = std::make_shared<const std::string>(std::istreambuf_iterator<char>(in),
                                                                 std::istreambuf_iterator<char>());
    }
    FRoutes[path] = std::move(route);
}

std::string StreamServer::Url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(FPort) + std::string(path);
}

int StreamServer::Requests(const std::string& path) const {
    std::lock_guard lock(FLock);
    const auto it = FRequests.find(path);
    return it == FRequests.end() ? 0 : it->second;
}

void StreamServer::ReapFinished() {
    std::erase_if(FWorkers, [](Worker& worker) {
        if (!worker.done->load())
            return false;
        worker.thread.join();
        return true;
    });
}

void StreamServer::AcceptLoop() {
    while (!Stopping()) {
        ReapFinished();
        pollfd p{FListen, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        const int fd = ::accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        {
            std::lock_guard lock(FLock);
            FClients.push_back(fd);
        }
        auto done = std::make_shared<std::atomic<bool>>(false);
        ++FOpen;
        std::thread thread([this, fd, done] {
            Serve(fd);
            {
                std::lock_guard inner(FLock);
                std::erase(FClients, fd);
                ::close(fd);
            }
            --FOpen;
            *done = true;
        });
        FWorkers.push_back(Worker{std::move(thread), std::move(done)});
    }
}

bool StreamServer::SendAll(int fd, std::string_view data) {
    while (!data.empty()) {
        if (Stopping())
            return false;
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void StreamServer::Serve(int fd) {
    std::string request;
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    while (request.find("\r\n\r\n") == std::string::npos && Clock::now() < deadline &&
           !Stopping()) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        char buf[2048];
        const ssize_t n = ::recv(fd, buf, sizeof(buf), 0);
        if (n <= 0)
            return;
        request.append(buf, static_cast<std::size_t>(n));
    }
    std::istringstream lines(request);
    std::string method, target;
    lines >> method >> target;
    const std::string path = target.substr(0, target.find('?'));
    const bool wantsMeta = Lower(request).find("icy-metadata: 1") != std::string::npos;

    Route route;
    int connection = 0;
    {
        std::lock_guard lock(FLock);
        connection = FRequests[path]++;
        const auto it = FRoutes.find(path);
        if (it == FRoutes.end()) {
            route.kind = Route::Kind::Status;
            route.status = 404;
            route.body = "not found";
        } else {
            route = it->second;
        }
    }

    switch (route.kind) {
    case Route::Kind::Status: {
        std::string head = "HTTP/1.0 " + std::to_string(route.status) + " Status\r\n";
        if (!route.location.empty())
            head += "Location: " + route.location + "\r\n";
        head += "Content-Type: text/plain\r\nContent-Length: " + std::to_string(route.body.size()) +
                "\r\nConnection: close\r\n\r\n";
        SendAll(fd, head + route.body);
        break;
    }
    case Route::Kind::Text:
        SendAll(fd, "HTTP/1.0 200 OK\r\nContent-Type: " + route.contentType +
                        "\r\nContent-Length: " + std::to_string(route.body.size()) +
                        "\r\nConnection: close\r\n\r\n" + route.body);
        break;
    case Route::Kind::Stall:
        SendAll(fd, "HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n");
        while (!Stopping()) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0) {
                char buf[256];
                if (::recv(fd, buf, sizeof(buf), 0) <= 0)
                    break;
            }
        }
        break;
    case Route::Kind::Garbage:
        ServeGarbage(fd, route);
        break;
    case Route::Kind::Stream:
        ServeStream(fd, route, wantsMeta, connection);
        break;
    }
}

void StreamServer::ServeGarbage(int fd, const Route& route) {
    if (!SendAll(fd, "HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n"))
        return;
    std::mt19937 random(1234);
    std::string chunk(1024, '\0');
    const auto start = Clock::now();
    std::size_t sent = 0;
    while (!Stopping()) {
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        const auto allowed =
            static_cast<std::size_t>(route.burstBytes + elapsed * route.bytesPerSecond);
        if (sent >= allowed) {
            std::this_thread::sleep_for(kTick);
            continue;
        }
        for (char& c : chunk)
            c = static_cast<char>(random());
        if (!SendAll(fd, chunk))
            return;
        sent += chunk.size();
    }
}

void StreamServer::ServeStream(int fd, const Route& route, bool wantsMeta, int connection) {
    std::shared_ptr<const std::string> file;
    {
        std::lock_guard lock(FLock);
        file = FFiles.at(route.file);
    }
    const bool meta = wantsMeta && route.icyMetaInt > 0;
    std::string head = route.icyStatusLine ? "ICY 200 OK\r\n" : "HTTP/1.0 200 OK\r\n";
    head += "Content-Type: " + route.contentType + "\r\n";
    if (!route.icyName.empty())
        head += "icy-name: " + route.icyName + "\r\n";
    if (meta)
        head += "icy-metaint: " + std::to_string(route.icyMetaInt) + "\r\n";
    if (!route.loop)
        head += "Content-Length: " + std::to_string(file->size()) + "\r\n";
    head += "\r\n";
    if (!SendAll(fd, head))
        return;

    const bool drops = route.dropAfterBytes > 0 &&
                       (route.dropConnections < 0 || connection < route.dropConnections);
    const auto start = Clock::now();
    std::size_t sent = 0;      // body audio bytes
    std::size_t sinceMeta = 0; // audio bytes since the last metadata block
    std::size_t pos = 0;
    while (!Stopping()) {
        if (drops && sent >= route.dropAfterBytes)
            return;
        if (pos >= file->size()) {
            if (!route.loop)
                return;
            pos = 0;
        }
        std::size_t allowed = std::string::npos;
        if (route.bytesPerSecond > 0) {
            const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            allowed = static_cast<std::size_t>(route.burstBytes + elapsed * route.bytesPerSecond);
            if (sent >= allowed) {
                std::this_thread::sleep_for(kTick);
                continue;
            }
        }
        std::size_t n = std::min<std::size_t>({4096, file->size() - pos, allowed - sent});
        if (drops)
            n = std::min(n, route.dropAfterBytes - sent);
        if (meta)
            n = std::min(n, static_cast<std::size_t>(route.icyMetaInt) - sinceMeta);
        if (!SendAll(fd, std::string_view(*file).substr(pos, n)))
            return;
        pos += n;
        sent += n;
        sinceMeta += n;
        if (meta && sinceMeta == static_cast<std::size_t>(route.icyMetaInt)) {
            if (!SendAll(fd, IcyBlock(route.streamTitle)))
                return;
            sinceMeta = 0;
        }
    }
}

} // namespace orvanta::test
