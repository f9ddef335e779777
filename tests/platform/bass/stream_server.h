// A radio station on 127.0.0.1 for the engine's tests and benchmark: serves fixtures at real-time
// pace with ICY headers and metadata, and misbehaves on request (drops, stalls, garbage, errors,
// redirects, playlists). Listens on an ephemeral port; everything stops with the object.
#pragma once

#include <atomic>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace orvanta::test {

struct Route {
    enum class Kind {
        Stream,  // the file's bytes, paced, as a live station (or a finite file)
        Status,  // a bare status with optional Location and body
        Garbage, // 200 audio/mpeg, then pseudo-random bytes
        Stall,   // 200 audio/mpeg, then nothing at all
        Text,    // 200 with `body` (playlists)
    };
    Kind kind = Kind::Stream;

    std::string file; // Stream: path of the media file
    std::string contentType = "audio/mpeg";
    int bytesPerSecond = 16000; // 0: as fast as the socket takes it
    int burstBytes = 16000;     // sent at once on connect, as Icecast does
    bool loop = true;           // false: the file once, with Content-Length
    bool icyStatusLine = false; // "ICY 200 OK" instead of "HTTP/1.0 200 OK"
    std::string icyName;
    int icyMetaInt = 0; // in-band metadata period when the client asks for it
    std::string streamTitle;
    std::size_t dropAfterBytes = 0; // close after this many body bytes...
    int dropConnections = 0;        // ...on this many first connections (-1: all)

    int status = 200;     // Status
    std::string location; // Status: Location header
    std::string body;     // Status, Text
};

class StreamServer {
public:
    StreamServer();
    ~StreamServer();
    StreamServer(const StreamServer&) = delete;
    StreamServer& operator=(const StreamServer&) = delete;

    void Add(const std::string& path, Route route);
    std::string Url(std::string_view path) const;
    int Port() const { return FPort; }
    // Requests seen for a path (query ignored).
    int Requests(const std::string& path) const;
    // Connections currently being served.
    int OpenConnections() const { return FOpen.load(); }

private:
    void AcceptLoop();
    void Serve(int fd);
    void ServeStream(int fd, const Route& route, bool wantsMeta, int connection);
    void ServeGarbage(int fd, const Route& route);
    bool SendAll(int fd, std::string_view data);
    bool Stopping() const { return FStop.load(); }

    int FListen = -1;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    std::atomic<int> FOpen{0};
    mutable std::mutex FLock;
    std::map<std::string, Route> FRoutes;
    std::map<std::string, int> FRequests;
    std::map<std::string, std::shared_ptr<const std::string>> FFiles;
    std::vector<int> FClients;
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    void ReapFinished();
    std::vector<Worker> FWorkers; // accept thread only, until the destructor
    std::thread FAcceptor;
};

} // namespace orvanta::test
