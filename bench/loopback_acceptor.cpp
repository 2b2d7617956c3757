#include "bench/loopback_acceptor.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

LoopbackAcceptor::LoopbackAcceptor() {
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(m_listener, 128) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Loop(); });
}

LoopbackAcceptor::~LoopbackAcceptor() {
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_listener >= 0)
        close(m_listener);
}

void LoopbackAcceptor::Loop() {
    std::vector<pollfd> fds{{m_listener, POLLIN, 0}};
    while (!m_stop) {
        if (poll(fds.data(), fds.size(), 20) <= 0)
            continue;
        for (size_t i = fds.size(); i-- > 1;) {
            char byte;
            if (fds[i].revents != 0 && read(fds[i].fd, &byte, 1) <= 0) {
                close(fds[i].fd);
                fds.erase(fds.begin() + long(i));
            }
        }
        if (fds[0].revents & POLLIN) {
            const int fd = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0)
                fds.push_back({fd, POLLIN, 0});
        }
    }
    for (size_t i = 1; i < fds.size(); ++i)
        close(fds[i].fd);
}
