// A loopback station for the visual benchmark and screenshots: serves one media file as a live
// stream on 127.0.0.1, prints its URL, and stops when its standard input closes.
#include <cstdio>
#include <iostream>
#include <string>

#include "stream_server.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <file.mp3>\n", argv[0]);
        return 2;
    }
    orvanta::test::StreamServer server;
    orvanta::test::Route route;
    route.file = argv[1];
    route.bytesPerSecond = 16000; // 128 kbit/s
    server.Add("/live.mp3", route);
    std::printf("%s\n", server.Url("/live.mp3").c_str());
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
}
