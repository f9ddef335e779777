// Stations served over HTTPS: the tone comes through TLS from a local server with a throw-away
// certificate (stations' certificates are not checked, as with plain HTTP).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "engine_fixture.h"

extern char** environ;

namespace orvanta::test {
namespace {

namespace fs = std::filesystem;

// A port that was free a moment ago on 127.0.0.1.
int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

// `openssl s_server -WWW` serves the files of its directory over HTTPS on 127.0.0.1.
class TlsServer {
public:
    TlsServer() {
        FDir = fs::temp_directory_path() / ("orvanta_tls_" + std::to_string(::getpid()));
        fs::create_directories(FDir);
        fs::copy_file(Fixture("tone_1k_stereo.mp3"), FDir / "tone.mp3",
                      fs::copy_options::overwrite_existing);
        const std::string make = "cd '" + FDir.string() +
                                 "' && openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem"
                                 " -out cert.pem -days 1 -subj /CN=127.0.0.1 >/dev/null 2>&1";
        if (std::system(make.c_str()) != 0)
            return;
        FPort = FreePort();
        const std::string accept = "127.0.0.1:" + std::to_string(FPort);
        const std::string cert = (FDir / "cert.pem").string();
        const std::string key = (FDir / "key.pem").string();
        const char* argv[] = {"openssl", "s_server",   "-accept", accept.c_str(),
                              "-cert",   cert.c_str(), "-key",    key.c_str(),
                              "-WWW",    "-quiet",     nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, FDir.c_str());
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawnp(&FPid, "openssl", &actions, nullptr, const_cast<char**>(argv), environ) !=
            0)
            FPid = -1;
        posix_spawn_file_actions_destroy(&actions);
        // Wait (bounded) until it accepts connections.
        for (int i = 0; i < 100 && FPid > 0 && !Accepting(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ~TlsServer() {
        if (FPid > 0) {
            ::kill(FPid, SIGKILL);
            ::waitpid(FPid, nullptr, 0);
        }
        std::error_code ignored;
        fs::remove_all(FDir, ignored);
    }
    bool Running() const { return FPid > 0 && Accepting(); }
    std::string Url(const std::string& file) const {
        return "https://127.0.0.1:" + std::to_string(FPort) + "/" + file;
    }

private:
    bool Accepting() const {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<uint16_t>(FPort));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
        ::close(fd);
        return ok;
    }
    fs::path FDir;
    int FPort = 0;
    pid_t FPid = -1;
};

using HttpsTest = EngineFixture;

TEST_F(HttpsTest, StationOverTlsPlaysItsTone) {
    TlsServer tls;
    ASSERT_TRUE(tls.Running()) << "openssl s_server did not start";
    const HSTREAM stream =
        BASS_StreamCreateURL(tls.Url("tone.mp3").c_str(), 0, 0, nullptr, nullptr);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    Play(800);
    const std::vector<float> left = Tail(300, 0);
    EXPECT_NEAR(ZeroCrossingFrequency(left, kRate), kToneHz, 5.0);
    EXPECT_NEAR(ToneAmplitude(left, kRate, kToneHz), kToneLeft, 0.05);
}

TEST_F(HttpsTest, MissingFileOverTlsFailsQuietly) {
    TlsServer tls;
    ASSERT_TRUE(tls.Running()) << "openssl s_server did not start";
    EXPECT_EQ(BASS_StreamCreateURL(tls.Url("nothing.mp3").c_str(), 0, 0, nullptr, nullptr), 0u);
}

} // namespace
} // namespace orvanta::test
