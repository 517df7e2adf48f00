#include "Chromium.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace kz8test {
namespace {

constexpr int kBrowserEnd = 3;  // the fd Chromium reads commands from
constexpr int kOurEnd = 4;      // the fd it writes answers to

// How much of a screenshot is not white, and in how many colours: the page
// decodes the picture itself.
constexpr const char* kInk = R"((async shot => {
  const png = Uint8Array.from(atob(shot), c => c.charCodeAt(0));
  const image = await createImageBitmap(new Blob([png], {type: 'image/png'}));
  const g = new OffscreenCanvas(image.width, image.height).getContext('2d');
  g.drawImage(image, 0, 0);
  const px = g.getImageData(0, 0, image.width, image.height).data, colours = new Set();
  let inked = 0;
  for (let i = 0; i < px.length; i += 4) {
    const rgb = px[i] << 16 | px[i + 1] << 8 | px[i + 2];
    colours.add(rgb);
    inked += rgb !== 0xFFFFFF;
  }
  return [inked / (image.width * image.height), colours.size];
}))";

}  // namespace

std::string Chromium::Executable() {
  for (const char* path : {"/usr/bin/chromium", "/usr/bin/chromium-browser"}) {
    if (::access(path, X_OK) == 0) return path;
  }
  return {};
}

Chromium::Chromium() {
  char profile[] = "/tmp/kz8mrp-chromium.XXXXXX";
  if (!::mkdtemp(profile)) throw std::runtime_error("no profile folder");
  profile_ = profile;
  int commands[2], answers[2];
  if (::pipe2(commands, O_CLOEXEC) != 0 || ::pipe2(answers, O_CLOEXEC) != 0)
    throw std::runtime_error("pipe failed");
  const std::string executable = Executable(), profile_option = "--user-data-dir=" + profile_;
  pid_ = ::fork();
  if (pid_ == 0) {  // dup2 hands the browser its two ends without close-on-exec
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    // Copies above both places first: a pipe end already sitting on one would
    // keep its close-on-exec, or be overwritten by the other.
    ::dup2(::fcntl(commands[0], F_DUPFD, kOurEnd + 1), kBrowserEnd);
    ::dup2(::fcntl(answers[1], F_DUPFD, kOurEnd + 1), kOurEnd);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    ::execl(executable.c_str(), executable.c_str(), "--headless", "--no-sandbox", "--disable-gpu",
            "--disable-quic", "--no-first-run", "--disable-background-networking",
            "--disable-component-update", "--disable-sync", "--hide-scrollbars",
            "--remote-debugging-pipe", profile_option.c_str(), "about:blank", nullptr);
    ::_exit(127);
  }
  ::close(commands[0]);
  ::close(answers[1]);
  to_browser_ = commands[1];
  from_browser_ = answers[0];
  if (pid_ < 0) throw std::runtime_error("cannot start " + executable);
  const Json target = Send("Target.createTarget", {{"url", "about:blank"}}, false);
  session_ = Send("Target.attachToTarget", {{"targetId", target["targetId"]}, {"flatten", true}},
                  false)["sessionId"];
}

Chromium::~Chromium() {
  ::close(to_browser_);  // a closed pipe tells the browser to quit
  ::close(from_browser_);
  // Five seconds to quit, then it is stopped.
  for (int tries = 0; pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0; ++tries) {
    if (tries == 100) ::kill(pid_, SIGKILL);
    ::usleep(50000);
  }
  std::error_code ignored;
  std::filesystem::remove_all(profile_, ignored);
}

Json Chromium::Evaluate(const std::string& expression) {
  const Json r =
      Send("Runtime.evaluate",
           {{"expression", expression}, {"returnByValue", true}, {"awaitPromise", true}});
  if (r.contains("exceptionDetails")) throw std::runtime_error(r["exceptionDetails"].dump());
  return r["result"]["value"];
}

Json Chromium::Send(const std::string& method, const Json& params, bool on_page) {
  const int id = next_id_++;
  Json message = {{"id", id}, {"method", method}, {"params", params}};
  if (on_page) message["sessionId"] = session_;
  const std::string bytes = message.dump() + '\0';
  if (::write(to_browser_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
    throw std::runtime_error("the browser stopped reading");
  for (;;) {
    const Json m = Receive();
    if (m.value("id", 0) != id) continue;
    if (m.contains("error")) throw std::runtime_error(method + ": " + m["error"].dump());
    return m["result"];
  }
}

// Messages end in a NUL byte; events met on the way are kept.
Json Chromium::Receive() {
  std::size_t end;
  while ((end = pending_.find('\0')) == std::string::npos) {
    pollfd p{from_browser_, POLLIN, 0};
    char buf[65536];
    const ssize_t n = ::poll(&p, 1, 30000) > 0 ? ::read(from_browser_, buf, sizeof buf) : -1;
    if (n <= 0) throw std::runtime_error("no answer from the browser");
    pending_.append(buf, static_cast<std::size_t>(n));
  }
  Json m = Json::parse(pending_.substr(0, end));
  pending_.erase(0, end + 1);
  if (m.contains("method")) events_.push_back(m);
  return m;
}

std::string Chromium::Open(const std::string& path) {
  for (const char* domain : {"Runtime.enable", "Log.enable", "Network.enable", "Page.enable"})
    Send(domain);
  Send("Emulation.setDeviceMetricsOverride",
       {{"width", 1280}, {"height", 800}, {"deviceScaleFactor", 1}, {"mobile", false}});
  const std::string url = "file://" + std::filesystem::absolute(path).string();
  Send("Page.navigate", {{"url", url}});
  while (Receive().value("method", "") != "Page.loadEventFired") {
  }
  return url;
}

void Chromium::ExpectQuietAndDrawn(const std::string& url) {
  for (const Json& e : events_) {
    const std::string method = e["method"];
    EXPECT_NE(method, "Runtime.exceptionThrown") << e.dump();
    const Json& p = e["params"];
    EXPECT_FALSE(method == "Runtime.consoleAPICalled" && p["type"] == "error") << e.dump();
    EXPECT_FALSE(method == "Log.entryAdded" && p["entry"]["level"] == "error") << e.dump();
    EXPECT_FALSE(method == "Network.requestWillBeSent" && p["request"]["url"] != url) << e.dump();
  }
  const std::string shot = Send("Page.captureScreenshot", {{"format", "png"}})["data"];
  const Json ink = Evaluate(kInk + ("('" + shot + "')"));
  EXPECT_GT(ink[0].get<double>(), 0.03) << "the screenshot is blank";
  EXPECT_GE(ink[1].get<int>(), 8);
}

}  // namespace kz8test
