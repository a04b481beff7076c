// JSON-RPC 2.0 over the transport: requests are answered with a result or an
// error, notifications are handled without answer, and nothing that a message
// holds (bad JSON, a missing method, parameters of the wrong shape, a handler
// that fails) stops the loop.
#ifndef SPELLCHECK_TOOL_LSP_JSONRPC_H
#define SPELLCHECK_TOOL_LSP_JSONRPC_H

#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <string_view>

#include "lsp/Transport.h"

namespace spellcheck::tool::lsp {

using json = nlohmann::json;

namespace rpc {
inline constexpr int ParseError = -32700;
inline constexpr int InvalidRequest = -32600;
inline constexpr int MethodNotFound = -32601;
inline constexpr int InvalidParams = -32602;
inline constexpr int InternalError = -32603;
inline constexpr int ServerNotInitialized = -32002;
inline constexpr int RequestFailed = -32803;
}  // namespace rpc

// Thrown by a handler: the request is answered with this error.
class RpcError : public std::runtime_error {
 public:
  RpcError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
  int Code() const { return code_; }

 private:
  int code_;
};

class Connection {
 public:
  using RequestHandler = std::function<json(const json& params)>;
  using NotificationHandler = std::function<void(const json& params)>;
  // Asked before each message is handled: null to go on, or the error a
  // request is answered with (a notification is then dropped).
  using Gate = std::function<const RpcError*(std::string_view method)>;

  explicit Connection(Transport& transport) : transport_(transport) {}

  void OnRequest(const std::string& method, RequestHandler handler);
  void OnNotification(const std::string& method, NotificationHandler handler);
  void SetGate(Gate gate) { gate_ = std::move(gate); }

  void Notify(std::string_view method, json params);

  // Handles messages until Stop() or the end of input.
  void Run();
  void Stop() { stopped_ = true; }
  // False once a write failed: the client is gone.
  bool Writable() const { return writable_; }

 private:
  void Handle(const std::string& body);
  void Dispatch(const json& message);
  void Respond(const json& id, json result);
  void RespondError(const json& id, int code, const std::string& message);
  void Send(const json& message);

  Transport& transport_;
  std::map<std::string, RequestHandler, std::less<>> requests_;
  std::map<std::string, NotificationHandler, std::less<>> notifications_;
  Gate gate_;
  bool stopped_ = false;
  bool writable_ = true;
};

}  // namespace spellcheck::tool::lsp

#endif
