#include "platform/EventPort.h"

#include <gtest/gtest.h>

#include <thread>
#include <unistd.h>

namespace {

using s::platform::EventPort;

std::unique_ptr<EventPort> makePort()
{
    int error = -1;
    auto port = EventPort::create(error);
    EXPECT_EQ(error, 0);
    return port;
}

TEST(EventPortTest, PacketsArriveInTheOrderTheyWereQueued)
{
    auto port = makePort();
    int a = 0;
    int b = 0;
    port->post(&a);
    port->signal(&b);
    port->post(nullptr);
    port->signal(&a);
    port->forgetSignals(&a);
    std::vector<EventPort::Packet> packets;
    ASSERT_TRUE(port->wait(packets, 1000));
    ASSERT_EQ(packets.size(), 3U);
    EXPECT_EQ(packets[0].key, &a);
    EXPECT_EQ(packets[0].kind, EventPort::PacketKind::Posted);
    EXPECT_EQ(packets[1].key, &b);
    EXPECT_EQ(packets[1].kind, EventPort::PacketKind::Ready);
    EXPECT_EQ(packets[2].key, nullptr);
    packets.clear();
    EXPECT_TRUE(port->wait(packets, 0));
    EXPECT_TRUE(packets.empty());
}

TEST(EventPortTest, PostFromAnotherThreadWakesTheWait)
{
    auto port = makePort();
    int key = 0;
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        port->post(&key);
    });
    std::vector<EventPort::Packet> packets;
    ASSERT_TRUE(port->wait(packets, 10000));
    poster.join();
    ASSERT_EQ(packets.size(), 1U);
    EXPECT_EQ(packets[0].key, &key);
}

TEST(EventPortTest, ReadyDescriptorReportsOnceUntilRearmed)
{
    auto port = makePort();
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    int key = 0;
    ASSERT_EQ(port->addDescriptor(fds[0], &key), 0);
    ASSERT_EQ(::write(fds[1], "x", 1), 1);
    std::vector<EventPort::Packet> packets;
    ASSERT_TRUE(port->wait(packets, 1000));
    ASSERT_EQ(packets.size(), 1U);
    EXPECT_EQ(packets[0].key, &key);
    EXPECT_EQ(packets[0].kind, EventPort::PacketKind::Ready);
    // Still readable, but quiet until rearmed.
    packets.clear();
    ASSERT_TRUE(port->wait(packets, 50));
    EXPECT_TRUE(packets.empty());
    port->rearm(&key);
    ASSERT_TRUE(port->wait(packets, 1000));
    EXPECT_EQ(packets.size(), 1U);
    port->removeDescriptor(fds[0]);
    port->rearm(&key);
    packets.clear();
    ASSERT_TRUE(port->wait(packets, 50));
    EXPECT_TRUE(packets.empty());
    ::close(fds[0]);
    ::close(fds[1]);
}

}  // namespace
