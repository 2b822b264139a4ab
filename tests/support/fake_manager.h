// A scripted TEF manager for virtual-time tests: the test calls Poll() while
// the package sleeps (from the virtual clock), and the manager takes the
// request the package left and answers it the way the script says.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "support/string_list.h"

namespace zul00500::testing {

// The last line a manager writes, by which the package knows a file whole.
inline constexpr const char* kClosingLine = "999-999 = 0";

enum class StatusReply {
  Acknowledge, // status file whose first line repeats the request's header
  Silent,      // takes the request, never answers
  WrongHeader, // status file with another operation's header
  Empty,       // status file with no line at all
  Ignore,      // leaves the request where it is
};

class FakeManager {
public:
  // The manager works on `files`, or on the file system in use when null
  // (a test that cuts the package's power keeps its manager on the disk).
  explicit FakeManager(std::string root = "c:\\tef_dial\\", platform::FileSystem* files = nullptr);

  // Replies to the next requests, in turn; once used up, Acknowledge.
  void Script(std::initializer_list<StatusReply> replies) { replies_.insert(replies_.end(), replies); }
  // Called with each request taken, after the status file is written; a test
  // writes answer files from here.
  void OnRequest(std::function<void(const StringList&)> hook) { on_request_ = std::move(hook); }

  // Makes the answer file to a request from the request.
  using AnswerMaker = std::function<StringList(const StringList& request)>;
  // Answers to the requests that expect one ("CRT", "CHQ", "CNC"), in turn.
  // While the last request taken is such a request, the next answer is
  // written for it as resp\intpos.001 as soon as the response directory
  // holds no intpos.001 (the package took the one before away).
  void QueueAnswers(std::initializer_list<AnswerMaker> makers) { answers_.insert(answers_.end(), makers); }
  void QueueAnswer(AnswerMaker maker) { answers_.push_back(std::move(maker)); }
  // From now on a request gets one answer at most, as from a real manager;
  // otherwise the queue goes on answering it whenever the package took the
  // previous answer away.
  void AnswerEachRequestOnce() { once_ = true; }
  // From now on the status that acknowledges a request is written `polls`
  // polls after the request was taken, as by a slow manager: the package
  // meanwhile sees its request gone and no status yet.
  void AcknowledgeLate(int polls) { ack_delay_ = polls; }

  // Takes root + "req\intpos.001" when it is there and replies; then writes
  // the next queued answer when its turn has come. Nothing while stopped.
  void Poll();
  // A stopped manager takes no request and writes nothing.
  void Stop(bool stopped) { stopped_ = stopped; }

  // What the file protocol lets a manager do that this one does not by
  // default: leave each request it took in "req\" (it then tells a new
  // request by its sequence), end its status and answer files without the
  // closing line, and leave their last line without a line end.
  struct Shape {
    bool leave_requests = false;
    bool closing_line = true;
    bool last_line_end = true;
  };
  void Plain(Shape shape) { shape_ = shape; }

  const std::string& Root() const { return root_; }
  const std::vector<StringList>& Requests() const { return requests_; }
  // Operation codes (000-000) of the requests taken, in order.
  std::vector<std::string> Operations() const;

private:
  void TakeRequest();
  void WriteNextAnswer();

  // Writes resp\`name` in the manager's shape.
  void Write(const std::string& name, StringList lines);
  platform::FileSystem& Files() const { return files_ ? *files_ : platform::fs(); }

  std::string root_;
  platform::FileSystem* files_;
  bool once_ = false;
  bool stopped_ = false;
  std::deque<StatusReply> replies_;
  std::deque<AnswerMaker> answers_;
  std::optional<StringList> awaiting_answer_;
  std::function<void(const StringList&)> on_request_;
  Shape shape_;
  std::string last_taken_; // the bytes of the last request taken and left in place
  int ack_delay_ = 0;
  int ack_in_ = 0;            // polls before the late status is written
  std::string late_header_;   // its header, while one is due
  std::vector<StringList> requests_;
};

// Writes `lines` as root + "resp\" + name.
void WriteResponse(const std::string& root, const std::string& name, const StringList& lines);
void WriteResponse(platform::FileSystem& files, const std::string& root, const std::string& name,
                   const StringList& lines);

} // namespace zul00500::testing
