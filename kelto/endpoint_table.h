// The open endpoints of the process, by handle.
#pragma once

#include "kelto/kelto.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

// One TCP endpoint. The socket is closed when the last reference goes, so an
// operation that still holds the endpoint never sees its descriptor reused.
struct Endpoint {
    explicit Endpoint(int socket) : fd(socket) {}
    ~Endpoint();
    Endpoint(const Endpoint&) = delete;
    Endpoint& operator=(const Endpoint&) = delete;

    // True when the abort-check routine asks to abandon a blocking operation.
    bool AbortRequested(uint32_t handle) const;

    const int fd;
    std::atomic<kti_abortcheck> abortCheck{nullptr};
    std::atomic<bool> closed{false}; // set when the handle leaves the table
};

// Handles count up from 1 and are never reused within a process run, so a
// stale handle can only ever be unknown, never another attempt's endpoint.
class EndpointTable {
public:
    static EndpointTable& Instance();

    // Takes over the socket. The new endpoint's handle, or 0 (socket closed)
    // when there is no memory or the handles are used up.
    uint32_t Add(int socket);
    std::shared_ptr<Endpoint> Find(uint32_t handle) const;
    // Takes the endpoint out of the table; false when the handle is unknown.
    bool Remove(uint32_t handle);
    void RemoveAll();

private:
    mutable std::mutex m_mutex;
    std::map<uint32_t, std::shared_ptr<Endpoint>> m_endpoints;
    uint32_t m_nLastHandle = 0;
};
