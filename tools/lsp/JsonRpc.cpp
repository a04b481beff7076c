#include "lsp/JsonRpc.h"

#include <iostream>
#include <new>

namespace spellcheck::tool::lsp {

void Connection::OnRequest(const std::string& method, RequestHandler handler) {
  requests_[method] = std::move(handler);
}

void Connection::OnNotification(const std::string& method, NotificationHandler handler) {
  notifications_[method] = std::move(handler);
}

void Connection::Send(const json& message) {
  if (!writable_) return;
  // Text from the client is valid UTF-8; anything else is replaced, not thrown.
  if (!transport_.Write(message.dump(-1, ' ', false, json::error_handler_t::replace))) {
    writable_ = false;
    stopped_ = true;
  }
}

void Connection::Notify(std::string_view method, json params) {
  Send({{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
}

void Connection::Respond(const json& id, json result) {
  Send({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

void Connection::RespondError(const json& id, int code, const std::string& message) {
  Send({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

void Connection::Run() {
  std::string body;
  std::string problem;
  while (!stopped_) {
    switch (transport_.Read(body, problem)) {
      case ReadResult::End:
        return;
      case ReadResult::BadHeader:
        std::cerr << "spellcheck lsp: " << problem << "\n";
        RespondError(nullptr, rpc::ParseError, problem);
        break;
      case ReadResult::TooLarge:
        std::cerr << "spellcheck lsp: " << problem << "\n";
        RespondError(nullptr, rpc::InvalidRequest, problem);
        break;
      case ReadResult::Message:
        Handle(body);
        break;
    }
  }
}

void Connection::Handle(const std::string& body) {
  json message = json::parse(body, nullptr, false);
  if (message.is_discarded()) {
    RespondError(nullptr, rpc::ParseError, "the message is not JSON");
    return;
  }
  const bool isObject = message.is_object();
  const auto id = isObject ? message.find("id") : message.end();
  const bool hasId = isObject && id != message.end();
  const json requestId = hasId && (id->is_string() || id->is_number_integer()) ? *id : json();
  try {
    Dispatch(message);
  } catch (const RpcError& error) {
    if (hasId) RespondError(requestId, error.Code(), error.what());
  } catch (const json::exception& error) {
    // A handler read a parameter of the wrong type or one that is missing.
    if (hasId) RespondError(requestId, rpc::InvalidParams, error.what());
  } catch (const std::bad_alloc&) {
    if (hasId) RespondError(requestId, rpc::InternalError, "out of memory");
  } catch (const std::exception& error) {
    std::cerr << "spellcheck lsp: " << error.what() << "\n";
    if (hasId) RespondError(requestId, rpc::InternalError, error.what());
  }
}

void Connection::Dispatch(const json& message) {
  if (!message.is_object()) {
    RespondError(nullptr, rpc::InvalidRequest, "a message must be a JSON object");
    return;
  }
  const auto method = message.find("method");
  const auto id = message.find("id");
  const bool isRequest = id != message.end();
  if (method == message.end()) {
    // An answer to a request of ours (none waits for one), or nonsense.
    if (isRequest && (message.contains("result") || message.contains("error"))) return;
    RespondError(isRequest ? *id : json(), rpc::InvalidRequest, "a message without a method");
    return;
  }
  if (!method->is_string() ||
      (isRequest && !id->is_string() && !id->is_number_integer() && !id->is_null())) {
    RespondError(isRequest ? *id : json(), rpc::InvalidRequest, "a malformed method or id");
    return;
  }
  const std::string& name = method->get_ref<const std::string&>();
  const auto params = message.find("params");
  static const json none = json::object();
  const bool absent = params == message.end() || params->is_null();
  const json& args = absent ? none : *params;
  if (!absent && !params->is_object() && !params->is_array()) {
    if (isRequest) RespondError(*id, rpc::InvalidParams, "params must be an object or an array");
    return;
  }
  if (gate_) {
    if (const RpcError* refused = gate_(name)) {
      if (isRequest) RespondError(*id, refused->Code(), refused->what());
      return;
    }
  }
  if (isRequest) {
    const auto handler = requests_.find(name);
    if (handler == requests_.end()) {
      RespondError(*id, rpc::MethodNotFound, "unknown method " + name);
      return;
    }
    Respond(*id, handler->second(args));
    return;
  }
  // Unknown notifications ($/cancelRequest, $/setTrace, ...) are dropped.
  if (const auto handler = notifications_.find(name); handler != notifications_.end()) {
    handler->second(args);
  }
}

}  // namespace spellcheck::tool::lsp
