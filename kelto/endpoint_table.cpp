#include "kelto/endpoint_table.h"

#include <unistd.h>

#include <limits>
#include <new>

Endpoint::~Endpoint() {
    ::close(fd);
}

bool Endpoint::AbortRequested(uint32_t handle) const {
    kti_abortcheck check = abortCheck.load();
    return check != nullptr && check(static_cast<int32_t>(handle)) != 0;
}

EndpointTable& EndpointTable::Instance() {
    static EndpointTable table;
    return table;
}

uint32_t EndpointTable::Add(int socket) {
    std::shared_ptr<Endpoint> endpoint;
    try {
        endpoint = std::make_shared<Endpoint>(socket);
    } catch (const std::bad_alloc&) {
        ::close(socket);
        return 0;
    }
    std::lock_guard lock(m_mutex);
    if (m_nLastHandle == std::numeric_limits<uint32_t>::max())
        return 0;
    try {
        m_endpoints.emplace(m_nLastHandle + 1, endpoint);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return ++m_nLastHandle;
}

std::shared_ptr<Endpoint> EndpointTable::Find(uint32_t handle) const {
    std::lock_guard lock(m_mutex);
    auto it = m_endpoints.find(handle);
    return it == m_endpoints.end() ? nullptr : it->second;
}

bool EndpointTable::Remove(uint32_t handle) {
    std::shared_ptr<Endpoint> endpoint;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_endpoints.find(handle);
        if (it == m_endpoints.end())
            return false;
        endpoint = std::move(it->second);
        m_endpoints.erase(it);
    }
    endpoint->closed = true;
    return true;
}

void EndpointTable::RemoveAll() {
    std::map<uint32_t, std::shared_ptr<Endpoint>> endpoints;
    {
        std::lock_guard lock(m_mutex);
        endpoints.swap(m_endpoints);
    }
    for (auto& entry : endpoints)
        entry.second->closed = true;
}
