#include "support/fake_manager.h"

#include "platform/file_system.h"

namespace zul00500::testing {

FakeManager::FakeManager(std::string root) : root_(std::move(root)) {
  platform::fs().create_directories(root_ + "req");
  platform::fs().create_directories(root_ + "resp");
}

void FakeManager::Poll() {
  platform::FileSystem& fs = platform::fs();
  const std::string request_path = root_ + "req\\intpos.001";
  if (!fs.file_exists(request_path)) return;
  const StatusReply reply = replies_.empty() ? StatusReply::Acknowledge : replies_.front();
  if (reply == StatusReply::Ignore) {
    replies_.pop_front();
    return;
  }
  if (!replies_.empty()) replies_.pop_front();

  StringList request;
  request.LoadFromFile(request_path);
  fs.remove_file(request_path);
  requests_.push_back(request);

  const std::string header = request.empty() ? std::string() : request[0];
  switch (reply) {
  case StatusReply::Acknowledge: WriteResponse(root_, "intpos.sts", {header}); break;
  case StatusReply::WrongHeader: WriteResponse(root_, "intpos.sts", {"000-000 = XYZ"}); break;
  case StatusReply::Empty: WriteResponse(root_, "intpos.sts", {}); break;
  case StatusReply::Silent:
  case StatusReply::Ignore: break;
  }
  if (on_request_) on_request_(request);
}

std::vector<std::string> FakeManager::Operations() const {
  std::vector<std::string> operations;
  for (const StringList& request : requests_) operations.push_back(request.Field("000-000 "));
  return operations;
}

void WriteResponse(const std::string& root, const std::string& name, const StringList& lines) {
  lines.SaveToFile(root + "resp\\" + name);
}

} // namespace zul00500::testing
