// Debian's Chromium, headless, driven through the DevTools protocol on a pair
// of pipes (--remote-debugging-pipe): no network port, no Node.
#pragma once

#include <nlohmann/json.hpp>

#include <sys/types.h>

#include <string>
#include <vector>

namespace kz8test {

using Json = nlohmann::json;

class Chromium {
 public:
  // Where the browser is installed, or an empty text when it is not.
  static std::string Executable();

  // Starts the browser with a fresh profile and opens one blank page.
  Chromium();
  Chromium(const Chromium&) = delete;
  Chromium& operator=(const Chromium&) = delete;
  ~Chromium();

  // Opens a page file in a 1280x800 window, watching its console, log and
  // requests; returns the page's address.
  std::string Open(const std::string& path);
  // The value of a JavaScript expression evaluated in the page (a promise's, once settled).
  Json Evaluate(const std::string& expression);
  // The page opened with no error, asked for nothing but itself, and drew a
  // screenshot that is not blank.
  void ExpectQuietAndDrawn(const std::string& url);

 private:
  // A command to the page (or to the browser); its result, or a thrown error.
  Json Send(const std::string& method, const Json& params = Json::object(), bool on_page = true);
  Json Receive();  // the next message, after at most 30 seconds of silence

  pid_t pid_ = -1;
  int to_browser_ = -1;
  int from_browser_ = -1;
  std::string profile_, pending_, session_;
  int next_id_ = 1;
  std::vector<Json> events_;
};

}  // namespace kz8test
