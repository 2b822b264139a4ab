#include "support/fake_manager.h"

#include "platform/file_system.h"

namespace zul00500::testing {

FakeManager::FakeManager(std::string root, platform::FileSystem* files)
    : root_(std::move(root)), files_(files) {
  Files().create_directories(root_ + "req");
  Files().create_directories(root_ + "resp");
}

void FakeManager::Poll() {
  if (stopped_) return;
  if (ack_in_ > 0 && --ack_in_ == 0) Write("intpos.sts", {late_header_, kClosingLine});
  TakeRequest();
  WriteNextAnswer();
}

void FakeManager::TakeRequest() {
  platform::FileSystem& fs = Files();
  const std::string request_path = root_ + "req\\intpos.001";
  if (!fs.file_exists(request_path)) return;
  const StatusReply reply = replies_.empty() ? StatusReply::Acknowledge : replies_.front();
  if (reply == StatusReply::Ignore) {
    replies_.pop_front();
    return;
  }
  if (!replies_.empty()) replies_.pop_front();

  const std::string bytes = fs.read_file(request_path);
  if (shape_.leave_requests && bytes == last_taken_) return;
  StringList request;
  request.SetText(bytes);
  if (shape_.leave_requests) last_taken_ = bytes;
  else fs.remove_file(request_path);
  requests_.push_back(request);

  const std::string header = request.empty() ? std::string() : request[0];
  switch (reply) {
  case StatusReply::Acknowledge:
    if (ack_delay_ > 0) {
      ack_in_ = ack_delay_;
      late_header_ = header;
    } else {
      Write("intpos.sts", {header, kClosingLine});
    }
    break;
  case StatusReply::WrongHeader:
    Write("intpos.sts", {"000-000 = XYZ", kClosingLine});
    break;
  case StatusReply::Empty:
    WriteResponse(fs, root_, "intpos.sts", {});
    break;
  case StatusReply::Silent:
  case StatusReply::Ignore:
    break;
  }
  const std::string operation = request.Field("000-000 ");
  if (operation == "CRT" || operation == "CHQ" || operation == "CNC") awaiting_answer_ = request;
  else awaiting_answer_.reset();
  if (on_request_) on_request_(request);
}

void FakeManager::WriteNextAnswer() {
  if (answers_.empty() || !awaiting_answer_) return;
  if (Files().file_exists(root_ + "resp\\intpos.001")) return;
  const AnswerMaker maker = std::move(answers_.front());
  answers_.pop_front();
  const StringList request = *awaiting_answer_;
  if (once_) awaiting_answer_.reset();
  Write("intpos.001", maker(request));
}

void FakeManager::Write(const std::string& name, StringList lines) {
  if (!shape_.closing_line && !lines.empty() && lines.lines().back() == kClosingLine) {
    std::vector<std::string> kept = lines.lines();
    kept.pop_back();
    lines = StringList{};
    for (std::string& line : kept) lines.Add(std::move(line));
  }
  std::string text = lines.Text();
  if (!shape_.last_line_end && text.size() >= 2) text.resize(text.size() - 2);
  Files().write_file(root_ + "resp\\" + name, text);
}

std::vector<std::string> FakeManager::Operations() const {
  std::vector<std::string> operations;
  for (const StringList& request : requests_) operations.push_back(request.Field("000-000 "));
  return operations;
}

void WriteResponse(const std::string& root, const std::string& name, const StringList& lines) {
  WriteResponse(platform::fs(), root, name, lines);
}

void WriteResponse(platform::FileSystem& files, const std::string& root, const std::string& name,
                   const StringList& lines) {
  files.write_file(root + "resp\\" + name, lines.Text());
}

} // namespace zul00500::testing
