// A name server on 127.0.0.1:53 for tests inside a private network. It
// answers A queries for the hosts it was given and NXDOMAIN for every other
// name; while silent it holds the queries unanswered, like a server that
// never replies, until told to answer them.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <string>
#include <thread>
#include <vector>

class FakeNameServer {
public:
    FakeNameServer(); // fails the process when port 53 cannot be bound
    ~FakeNameServer();
    FakeNameServer(const FakeNameServer&) = delete;
    FakeNameServer& operator=(const FakeNameServer&) = delete;

    // address in network byte order
    void AddHost(const std::string& name, uint32_t address);
    void SetSilent(bool silent);
    // Answers every query held while silent.
    void AnswerHeld();
    int Queries() const { return m_nQueries; }

private:
    struct Query {
        std::vector<uint8_t> packet;
        sockaddr_in from;
    };

    void Serve();
    void Answer(const Query& query);

    int m_fd = -1;
    std::atomic<bool> m_bStop{false};
    std::atomic<int> m_nQueries{0};
    std::mutex m_mutex;
    bool m_bSilent = false;
    std::map<std::string, uint32_t> m_hosts;
    std::vector<Query> m_held;
    std::thread m_thread;
};
