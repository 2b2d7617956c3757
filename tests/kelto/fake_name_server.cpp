#include "tests/kelto/fake_name_server.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

constexpr size_t kHeaderSize = 12;
constexpr uint16_t kTypeA = 1;

struct Question {
    std::string name; // lower case, dots between labels
    uint16_t type = 0;
    size_t end = 0; // offset just past the question
};

std::optional<Question> ParseQuestion(const std::vector<uint8_t>& packet) {
    Question question;
    size_t at = kHeaderSize;
    while (at < packet.size() && packet[at] != 0) {
        size_t length = packet[at++];
        if (length > 63 || at + length > packet.size())
            return std::nullopt;
        if (!question.name.empty())
            question.name += '.';
        for (size_t i = 0; i < length; ++i)
            question.name += static_cast<char>(std::tolower(packet[at + i]));
        at += length;
    }
    if (at + 5 > packet.size())
        return std::nullopt;
    question.type = static_cast<uint16_t>(packet[at + 1] << 8 | packet[at + 2]);
    question.end = at + 5;
    return question;
}

void Put16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

} // namespace

FakeNameServer::FakeNameServer() {
    m_fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(53);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (m_fd < 0 || bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        std::perror("fake name server: bind 127.0.0.1:53");
        std::_Exit(97);
    }
    m_thread = std::thread(&FakeNameServer::Serve, this);
}

FakeNameServer::~FakeNameServer() {
    m_bStop = true;
    m_thread.join();
    close(m_fd);
}

void FakeNameServer::AddHost(const std::string& name, uint32_t address) {
    std::lock_guard lock(m_mutex);
    m_hosts[name] = address;
}

void FakeNameServer::SetSilent(bool silent) {
    std::lock_guard lock(m_mutex);
    m_bSilent = silent;
}

void FakeNameServer::AnswerHeld() {
    std::vector<Query> held;
    {
        std::lock_guard lock(m_mutex);
        held.swap(m_held);
    }
    for (const auto& query : held)
        Answer(query);
}

void FakeNameServer::Serve() {
    while (!m_bStop) {
        pollfd entry{m_fd, POLLIN, 0};
        if (poll(&entry, 1, 20) <= 0)
            continue;
        Query query{std::vector<uint8_t>(1500), {}};
        socklen_t length = sizeof query.from;
        ssize_t got = recvfrom(m_fd, query.packet.data(), query.packet.size(), 0,
                               reinterpret_cast<sockaddr*>(&query.from), &length);
        if (got < static_cast<ssize_t>(kHeaderSize))
            continue;
        query.packet.resize(static_cast<size_t>(got));
        ++m_nQueries;
        {
            std::lock_guard lock(m_mutex);
            if (m_bSilent) {
                m_held.push_back(std::move(query));
                continue;
            }
        }
        Answer(query);
    }
}

void FakeNameServer::Answer(const Query& query) {
    auto question = ParseQuestion(query.packet);
    if (!question)
        return;
    std::optional<uint32_t> address;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_hosts.find(question->name);
        if (it != m_hosts.end())
            address = it->second;
    }
    bool answered = address && question->type == kTypeA;
    std::vector<uint8_t> reply(query.packet.begin(), query.packet.begin() + 2); // the id
    Put16(reply, address ? 0x8180 : 0x8183); // a response; NXDOMAIN for unknown names
    Put16(reply, 1);
    Put16(reply, answered ? 1 : 0);
    Put16(reply, 0);
    Put16(reply, 0);
    reply.insert(reply.end(), query.packet.begin() + kHeaderSize,
                 query.packet.begin() + static_cast<long>(question->end));
    if (answered) {
        Put16(reply, 0xC00C); // the name, by a pointer to the question's
        Put16(reply, kTypeA);
        Put16(reply, 1); // class IN
        Put16(reply, 0);
        Put16(reply, 60); // TTL
        Put16(reply, 4);
        const auto* bytes = reinterpret_cast<const uint8_t*>(&*address);
        reply.insert(reply.end(), bytes, bytes + 4);
    }
    sendto(m_fd, reply.data(), reply.size(), 0, reinterpret_cast<const sockaddr*>(&query.from),
           sizeof query.from);
}
