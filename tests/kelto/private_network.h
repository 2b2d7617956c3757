// A private network and mount namespace for tests that resolve names: only a
// loopback interface, and a resolver configuration that names 127.0.0.1 as
// the name server, so no lookup can leave the machine.
#pragma once

#include <string>
#include <vector>

// True in a process started by RerunInPrivateNetwork, once its namespace is
// ready: loopback up and /etc/resolv.conf replaced (for this namespace only).
// Ends the process if it is not in namespaces of its own, so that the real
// configuration is never touched.
bool InPrivateNetwork();

// Runs this executable again, with these arguments, in new network and mount
// namespaces, and returns its exit status; -1 when namespaces are not
// permitted here. The child's output goes to ours.
int RerunInPrivateNetwork(const std::vector<std::string>& arguments);
