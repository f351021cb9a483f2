// MessageEndpoint: single instance, posting from other threads and processes, stale sockets.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstring>
#include <mutex>
#include <thread>
#include <tuple>
#include <vector>

#include "TestFolder.h"
#include "platform/MessageEndpoint.h"
#include "platform/Paths.h"
#include "platform/linux/EndpointWire.h"

using namespace platform;
using platform_test::ScopedEnv;
using platform_test::TestFolder;

extern char** environ;

namespace {

using Message = std::tuple<uint32_t, int64_t, int64_t>;

// Every test gets its own runtime folder, so tests never see each other's endpoints.
class EndpointTest : public ::testing::Test {
  protected:
    EndpointTest() : env_("XDG_RUNTIME_DIR", folder_.Path()) {}

    static bool AcceptListedNumbers(uint32_t message) {
        return (message >= 1002 && message <= 1008) || (message >= 2000 && message <= 2005);
    }

    std::unique_ptr<MessageEndpoint> ClaimRecording(const std::string& className) {
        return MessageEndpoint::Claim(className, AcceptListedNumbers,
                                      [this](uint32_t message, int64_t w, int64_t l) {
                                          std::lock_guard<std::mutex> lock(mutex_);
                                          received_.emplace_back(message, w, l);
                                      });
    }

    std::vector<Message> Received() {
        std::lock_guard<std::mutex> lock(mutex_);
        return received_;
    }

    std::string SocketPath(const std::string& lowerName) { return RuntimeFolder() + lowerName + ".sock"; }
    // A client that connects and then says nothing; -1 when it could not connect.
    int ConnectSilently(const std::string& lowerName) {
        int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, SocketPath(lowerName).c_str());
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }

    // Runs endpoint_probe with `args`; returns its exit code (-1 when it did not exit normally).
    static int RunProbe(std::vector<std::string> args) {
        args.insert(args.begin(), ENDPOINT_PROBE_PATH);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    TestFolder folder_;
    ScopedEnv env_;
    std::mutex mutex_;
    std::vector<Message> received_;
};

}  // namespace

TEST_F(EndpointTest, SecondClaimIsRefusedWhileTheFirstLives) {
    auto first = ClaimRecording("Oakridge");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(MessageEndpoint::IsClaimed("Oakridge"));
    EXPECT_TRUE(MessageEndpoint::IsClaimed("OAKRIDGE"));  // names compare without regard to case
    EXPECT_EQ(ClaimRecording("OAKRIDGE"), nullptr);
    EXPECT_FALSE(MessageEndpoint::IsClaimed("OakridgeOther"));
    EXPECT_NE(ClaimRecording("OakridgeOther"), nullptr);
}

TEST_F(EndpointTest, SocketAndFolderArePrivate) {
    auto endpoint = ClaimRecording("Oakridge");
    ASSERT_NE(endpoint, nullptr);
    struct stat st {};
    ASSERT_EQ(::lstat(SocketPath("oakridge").c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::lstat(RuntimeFolder().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(EndpointTest, PostDeliversAcceptedMessagesAndRefusesOthers) {
    auto endpoint = ClaimRecording("Oakridge");
    ASSERT_NE(endpoint, nullptr);
    EXPECT_TRUE(MessageEndpoint::Post("OAKRIDGE", 1002, 5, -7));
    EXPECT_TRUE(MessageEndpoint::Post("oakridge", 2005, INT64_MIN, INT64_MAX));
    EXPECT_FALSE(MessageEndpoint::Post("Oakridge", 9999, 1, 2));
    EXPECT_FALSE(MessageEndpoint::Post("Oakridge", 0x0219));  // not in this accept list
    // Post returns after the handler ran, so the list is complete here.
    EXPECT_EQ(Received(), (std::vector<Message>{{1002, 5, -7}, {2005, INT64_MIN, INT64_MAX}}));
}

TEST_F(EndpointTest, EmptyAcceptRefusesEverything) {
    std::atomic<int> calls{0};
    auto endpoint = MessageEndpoint::Claim("Oakridge", nullptr, [&](uint32_t, int64_t, int64_t) { ++calls; });
    ASSERT_NE(endpoint, nullptr);
    EXPECT_FALSE(MessageEndpoint::Post("Oakridge", 1002));
    EXPECT_EQ(calls.load(), 0);
}

TEST_F(EndpointTest, PostWithoutHolderFailsQuickly) {
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(MessageEndpoint::Post("Oakridge", 1002));
    EXPECT_FALSE(MessageEndpoint::IsClaimed("Oakridge"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

TEST_F(EndpointTest, StaleSocketOfACrashedHolderIsTakenOver) {
    // A socket file with nobody listening: what a killed process leaves behind.
    std::string path = SocketPath("oakridge");
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(FileExists(path) || ::access(path.c_str(), F_OK) == 0);

    EXPECT_FALSE(MessageEndpoint::IsClaimed("Oakridge"));
    EXPECT_FALSE(MessageEndpoint::Post("Oakridge", 1002));
    auto endpoint = ClaimRecording("Oakridge");
    ASSERT_NE(endpoint, nullptr);
    EXPECT_TRUE(MessageEndpoint::IsClaimed("Oakridge"));
    EXPECT_TRUE(MessageEndpoint::Post("Oakridge", 1003, 1, 2));
    EXPECT_EQ(Received(), (std::vector<Message>{{1003, 1, 2}}));
}

TEST_F(EndpointTest, DestructorFreesTheName) {
    auto endpoint = ClaimRecording("Oakridge");
    ASSERT_NE(endpoint, nullptr);
    endpoint.reset();
    EXPECT_FALSE(MessageEndpoint::IsClaimed("Oakridge"));
    EXPECT_NE(::access(SocketPath("oakridge").c_str(), F_OK), 0);
    EXPECT_FALSE(MessageEndpoint::Post("Oakridge", 1002));
    auto again = ClaimRecording("Oakridge");
    EXPECT_NE(again, nullptr);
    EXPECT_TRUE(MessageEndpoint::Post("Oakridge", 1002));
}

TEST_F(EndpointTest, DestructorLeavesASuccessorsSocketAlone) {
    auto first = ClaimRecording("Oakridge");
    ASSERT_NE(first, nullptr);
    // Someone replaced our socket file (as a takeover would): our destructor must not remove it.
    std::string path = SocketPath("oakridge");
    ASSERT_EQ(::unlink(path.c_str()), 0);
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    first.reset();
    EXPECT_EQ(::access(path.c_str(), F_OK), 0);
    ::close(fd);
}

TEST_F(EndpointTest, SimultaneousClaimsLeaveExactlyOneHolder) {
    constexpr int kThreads = 8;
    std::vector<std::unique_ptr<MessageEndpoint>> results(kThreads);
    std::vector<std::thread> threads;
    std::atomic<bool> go{false};
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back([&, i] {
            while (!go.load()) {
            }
            results[i] =
                MessageEndpoint::Claim("Oakridge", AcceptListedNumbers, [](uint32_t, int64_t, int64_t) {});
        });
    go = true;
    for (auto& t : threads) t.join();
    int holders = 0;
    for (auto& r : results) holders += r != nullptr;
    EXPECT_EQ(holders, 1);
}

TEST_F(EndpointTest, PostsFromManyThreadsAllArrive) {
    auto endpoint = ClaimRecording("Oakridge");
    ASSERT_NE(endpoint, nullptr);
    constexpr int kThreads = 4, kEach = 25;
    std::atomic<int> delivered{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back([&, i] {
            for (int j = 0; j < kEach; ++j) delivered += MessageEndpoint::Post("Oakridge", 2000 + i, j, i);
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(delivered.load(), kThreads * kEach);
    EXPECT_EQ(Received().size(), static_cast<size_t>(kThreads * kEach));
}

TEST_F(EndpointTest, AThrowingHandlerRefusesButKeepsServing) {
    bool throwNext = true;
    auto endpoint = MessageEndpoint::Claim("Oakridge", AcceptListedNumbers, [&](uint32_t, int64_t, int64_t) {
        if (throwNext) {
            throwNext = false;
            throw std::runtime_error("handler failed");
        }
    });
    ASSERT_NE(endpoint, nullptr);
    EXPECT_FALSE(MessageEndpoint::Post("Oakridge", 1002));
    EXPECT_TRUE(MessageEndpoint::Post("Oakridge", 1002));
}

TEST_F(EndpointTest, ASilentClientDoesNotBlockOthers) {
    auto endpoint = ClaimRecording("Oakridge");
    ASSERT_NE(endpoint, nullptr);
    int silent = ConnectSilently("oakridge");
    ASSERT_GE(silent, 0);
    EXPECT_TRUE(MessageEndpoint::Post("Oakridge", 1004));
    ::close(silent);
}

TEST_F(EndpointTest, DestructorReturnsPromptlyWithAClientConnected) {
    auto endpoint = ClaimRecording("Oakridge");
    ASSERT_NE(endpoint, nullptr);
    int silent = ConnectSilently("oakridge");
    ASSERT_GE(silent, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // let the server start waiting on it
    auto start = std::chrono::steady_clock::now();
    endpoint.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    ::close(silent);
}

TEST_F(EndpointTest, UnusableNameGivesAnInertEndpoint) {
    auto endpoint = ClaimRecording("../escape");
    ASSERT_NE(endpoint, nullptr);  // the program still starts
    EXPECT_FALSE(MessageEndpoint::IsClaimed("../escape"));
    EXPECT_FALSE(MessageEndpoint::Post("../escape", 1002));
    EXPECT_EQ(linux_impl::EndpointBaseName("Oak.Ridge_1-x"), "oak.ridge_1-x");
    EXPECT_EQ(linux_impl::EndpointBaseName("a/b"), "");
    EXPECT_EQ(linux_impl::EndpointBaseName(""), "");
    EXPECT_EQ(linux_impl::EndpointBaseName(std::string(65, 'a')), "");
}

TEST(EndpointWire, RecordsAreLittleEndian) {
    auto bytes = linux_impl::EncodeRecord({0x04030201u, 0x0c0b0a0908070605LL, -2});
    const uint8_t expected[20] = {1,  2,  3,    4,    5,    6,    7,    8,    9,    10,
                                  11, 12, 0xfe, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff};
    EXPECT_EQ(std::memcmp(bytes.data(), expected, 20), 0);
    auto record = linux_impl::DecodeRecord(bytes.data());
    EXPECT_EQ(record.message, 0x04030201u);
    EXPECT_EQ(record.wParam, 0x0c0b0a0908070605LL);
    EXPECT_EQ(record.lParam, -2);
}

// The acceptance case: a second start while the first runs exits 0 within a second.
TEST_F(EndpointTest, SecondStartInAnotherProcessExitsZeroQuickly) {
    auto endpoint = ClaimRecording("Oakridge");
    ASSERT_NE(endpoint, nullptr);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunProbe({"start", "OAKRIDGE"}), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_TRUE(MessageEndpoint::IsClaimed("Oakridge"));  // the first still holds it
}

TEST_F(EndpointTest, AnotherProcessCanPost) {
    auto endpoint = ClaimRecording("Oakridge");
    ASSERT_NE(endpoint, nullptr);
    EXPECT_EQ(RunProbe({"post", "Oakridge", "1005", "-3", "12345678901"}), 0);
    EXPECT_EQ(RunProbe({"post", "Oakridge", "77", "0", "0"}), 1);
    EXPECT_EQ(Received(), (std::vector<Message>{{1005, -3, 12345678901LL}}));
}

TEST_F(EndpointTest, AStartWithNobodyHoldingClaims) {
    EXPECT_EQ(RunProbe({"start", "Oakridge"}), 4);
    EXPECT_FALSE(MessageEndpoint::IsClaimed("Oakridge"));  // freed when that process ended
}
