#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>

#include "HidLinkClient.h"
#include "RawBusClient.h"
#include "sim/bus/UniqueFd.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WaitFor.h"

extern char** environ;

namespace {

using simtest::Bytes;
using simtest::HidLinkClient;
using simtest::RawBusClient;
using namespace std::chrono_literals;

constexpr auto StartLimit = 20s;
constexpr auto StopLimit = 20s;

// qzr-sim as a child process with standard input at /dev/null; killed if a
// test leaves it running.
class SimulatorProcess {
public:
    SimulatorProcess(std::vector<std::string> arguments, const std::filesystem::path& log)
    {
        arguments.insert(arguments.begin(), QZR_SIM_PROGRAM);
        std::vector<char*> argv;
        for (auto& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        int result = posix_spawn(&pid_, QZR_SIM_PROGRAM, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (result != 0) {
            throw std::runtime_error("cannot start qzr-sim");
        }
    }
    ~SimulatorProcess()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    void signal(int number) { ::kill(pid_, number); }

    // The exit status once the process has ended within the limit.
    std::optional<int> waitForExit(std::chrono::milliseconds limit)
    {
        int status = 0;
        bool ended =
            qzr::test::WaitFor([&] { return ::waitpid(pid_, &status, WNOHANG) == pid_; }, limit);
        if (!ended) {
            return std::nullopt;
        }
        pid_ = -1;
        return status;
    }

private:
    pid_t pid_ = -1;
};

// One command on the control socket and its reply up to the final line.
std::string controlCommand(const std::filesystem::path& busDirectory, const std::string& line)
{
    sim::UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string path = (busDirectory / ".control").native();
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        return "cannot connect";
    }
    timeval timeout{5, 0};
    ::setsockopt(fd.get(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    std::string request = line + "\n";
    ::send(fd.get(), request.data(), request.size(), MSG_NOSIGNAL);
    std::string reply;
    char buffer[1024];
    while (reply.find("ok\n") == std::string::npos && reply.find("error:") == std::string::npos) {
        ssize_t received = ::recv(fd.get(), buffer, sizeof buffer, 0);
        if (received <= 0) {
            break;
        }
        reply.append(buffer, static_cast<std::size_t>(received));
    }
    return reply;
}

bool isEmpty(const std::filesystem::path& directory)
{
    return std::filesystem::directory_iterator(directory) == std::filesystem::directory_iterator();
}

class QzrSimProgram : public ::testing::Test {
protected:
    std::filesystem::path bus() const { return busDirectory.path(); }
    std::filesystem::path log() const { return logDirectory.path() / "qzr-sim.log"; }

    bool served(const std::vector<std::string>& entries)
    {
        return qzr::test::WaitFor(
            [&] {
                for (const auto& entry : entries) {
                    if (!std::filesystem::exists(bus() / entry)) {
                        return false;
                    }
                }
                return true;
            },
            StartLimit);
    }

    qzr::test::TemporaryDirectory busDirectory;
    qzr::test::TemporaryDirectory logDirectory;
};

TEST_F(QzrSimProgram, ServesAUnitTakesCommandsAndCleansUpOnSigterm)
{
    SimulatorProcess process(
        {"--bus", bus(), "--fast", "--hid", "c1:unit=00A1B2C3", "--bridge", "b1"}, log());
    ASSERT_TRUE(served({"c1.dev", "c1.sock", "b1.dev", "b1.sock", ".control"}));

    RawBusClient client(bus() / "c1.sock");
    ASSERT_EQ(client.open(RawBusClient::Shared), std::optional<std::uint8_t>(0x00));
    HidLinkClient link(client);
    ASSERT_TRUE(link.waitForPresence(true));
    ASSERT_TRUE(link.sendMessage({0x00}));
    auto identity = link.receiveMessage();
    ASSERT_TRUE(identity);
    EXPECT_EQ(Bytes(identity->begin(), identity->begin() + 5),
              (Bytes{0x00, 0xC3, 0xB2, 0xA1, 0x00}));

    EXPECT_EQ(controlCommand(bus(), "unplug c1"), "ok\n");
    EXPECT_TRUE(client.waitForEndOfFile());
    EXPECT_FALSE(std::filesystem::exists(bus() / "c1.sock"));
    EXPECT_NE(controlCommand(bus(), "list").find("c1 hid unplugged"), std::string::npos);

    process.signal(SIGTERM);
    auto status = process.waitForExit(StopLimit);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    EXPECT_TRUE(isEmpty(bus()));
}

struct StopCase {
    const char* name;
    std::function<void(SimulatorProcess&, const std::filesystem::path&)> stop;
    bool exitOnEndOfInput;
};

class QzrSimStops : public QzrSimProgram, public ::testing::WithParamInterface<StopCase> {};

TEST_P(QzrSimStops, AndLeavesNothingBehind)
{
    std::vector<std::string> arguments{"--bus", bus(), "--fast"};
    if (GetParam().exitOnEndOfInput) {
        arguments.push_back("--exit-on-eof");
    }
    SimulatorProcess process(arguments, log());
    if (!GetParam().exitOnEndOfInput) {
        ASSERT_TRUE(served({"hid1.sock", "bridge1.sock", ".control"}));
        // Standard input is at its end already; the simulator keeps serving.
        EXPECT_EQ(controlCommand(bus(), "take hid1"), "ok\n");
        GetParam().stop(process, bus());
    }
    auto status = process.waitForExit(StopLimit);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    EXPECT_TRUE(isEmpty(bus()));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, QzrSimStops,
    ::testing::Values(
        StopCase{"Sigint", [](auto& process, auto&) { process.signal(SIGINT); }, false},
        StopCase{"Sighup", [](auto& process, auto&) { process.signal(SIGHUP); }, false},
        StopCase{"QuitCommand",
                 [](auto&, const auto& bus) { EXPECT_EQ(controlCommand(bus, "quit"), "ok\n"); },
                 false},
        StopCase{"EndOfInputWhenAsked", nullptr, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(QzrSimProgram, SecondSimulatorOnTheSameBusRefusesAndLeavesTheFirstAlone)
{
    SimulatorProcess first({"--bus", bus(), "--fast", "--hid", "c1"}, log());
    ASSERT_TRUE(served({"c1.sock", ".control"}));
    SimulatorProcess second({"--bus", bus(), "--fast", "--hid", "c1"},
                            logDirectory.path() / "second.log");
    auto status = second.waitForExit(StopLimit);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 1);
    EXPECT_TRUE(std::filesystem::exists(bus() / "c1.sock"));
    EXPECT_TRUE(std::filesystem::exists(bus() / ".control"));
    EXPECT_EQ(controlCommand(bus(), "list").substr(0, 7), "c1 hid ");
}

TEST_F(QzrSimProgram, BadArgumentsStopWithUsage)
{
    SimulatorProcess process({"--bus", bus(), "--hid"}, log());
    auto status = process.waitForExit(StopLimit);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 2);
    EXPECT_TRUE(isEmpty(bus()));
}

} // namespace
