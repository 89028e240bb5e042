#include "driver.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

extern char** environ;

namespace vqw {
namespace fs = std::filesystem;

bool poll_until(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (true) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(20ms);
    }
}

std::string read_text(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// --- Image -------------------------------------------------------------------------------

Image Image::from_ppm(const std::string& bytes) {
    Image image;
    std::istringstream in(bytes);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    if (!(in >> magic >> width >> height >> maximum) || magic != "P6" || maximum != 255 ||
        width <= 0 || height <= 0)
        return image;
    in.get();  // the one blank after the header
    const std::size_t count = static_cast<std::size_t>(width) * height;
    const std::size_t start = static_cast<std::size_t>(in.tellg());
    if (bytes.size() < start + count * 3) return image;
    image.width_ = width;
    image.height_ = height;
    image.pixels_.resize(count);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + start);
    for (std::size_t i = 0; i < count; ++i, p += 3)
        image.pixels_[i] = (unsigned{p[0]} << 16) | (unsigned{p[1]} << 8) | p[2];
    return image;
}

bool Image::all(Box area, unsigned color) const {
    if (empty()) return false;
    for (int y = std::max(area.top, 0); y < std::min(area.bottom, height_); ++y)
        for (int x = std::max(area.left, 0); x < std::min(area.right, width_); ++x)
            if (pixel(x, y) != color) return false;
    return true;
}

std::optional<Box> Image::drawn_bounds(std::optional<Box> area) const {
    const Box a = area.value_or(box());
    std::optional<Box> bounds;
    for (int y = std::max(a.top, 0); y < std::min(a.bottom, height_); ++y)
        for (int x = std::max(a.left, 0); x < std::min(a.right, width_); ++x) {
            if (pixel(x, y) == kBlack) continue;
            if (!bounds) bounds = Box{x, y, x + 1, y + 1};
            bounds->left = std::min(bounds->left, x);
            bounds->right = std::max(bounds->right, x + 1);
            bounds->top = std::min(bounds->top, y);
            bounds->bottom = std::max(bounds->bottom, y + 1);
        }
    return bounds;
}

// --- Processes ---------------------------------------------------------------------------

bool running_as_root() {
    return geteuid() == 0;
}

namespace {

// The command line that runs `argv` as the session's user.
std::vector<std::string> as_session_user(std::vector<std::string> argv, bool as_user) {
    if (as_user && running_as_root()) {
        const std::string id = std::to_string(kSessionUser);
        argv.insert(argv.begin(),
                    {"setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups", "--"});
    }
    return argv;
}

std::vector<std::string> base_environment() {
    return {"PATH=/usr/local/bin:/usr/bin:/bin", "LANG=C.UTF-8"};
}

// Forks and runs `argv` with exactly `environment`; stdout to `out_fd` (or nowhere), stderr
// to `errors` (or nowhere).
pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
            int out_fd, const fs::path& errors) {
    std::vector<char*> args, envs;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const auto& e : environment) envs.push_back(const_cast<char*>(e.c_str()));
    envs.push_back(nullptr);
    const std::string errors_path = errors.string();
    const pid_t pid = fork();
    if (pid != 0) return pid;
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(out_fd >= 0 ? out_fd : null, 1);
    const int err =
        errors_path.empty() ? null : open(errors_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(err >= 0 ? err : null, 2);
    // Its own process group, so that a test's interrupt reaches only the test.
    setpgid(0, 0);
    execvpe(args[0], args.data(), envs.data());
    _exit(127);
}

// What `argv` writes on stdout, run to its end.
std::string output_of(const std::vector<std::string>& argv,
                      const std::vector<std::string>& environment) {
    int pipe_fds[2];
    if (pipe2(pipe_fds, O_CLOEXEC) != 0) return {};
    const pid_t pid = spawn(argv, environment, pipe_fds[1], {});
    close(pipe_fds[1]);
    std::string text;
    char buffer[65536];
    ssize_t got;
    while ((got = read(pipe_fds[0], buffer, sizeof buffer)) > 0) text.append(buffer, got);
    close(pipe_fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? text : std::string{};
}

void give_to_session_user(const fs::path& path) {
    if (running_as_root() && chown(path.c_str(), kSessionUser, kSessionUser) != 0) {
        // The session's clients then fail to use it, which the tests report.
    }
}

}  // namespace

Process::Process(std::vector<std::string> argv, const std::vector<std::string>& environment,
                 const fs::path& errors, bool as_user) {
    pid_ = spawn(as_session_user(std::move(argv), as_user), environment, -1, errors);
}

Process::Process(Process&& other) noexcept : pid_(other.pid_), status_(other.status_) {
    other.pid_ = -1;
}

Process::~Process() {
    if (pid_ > 0 && running()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool Process::running() {
    if (pid_ <= 0 || status_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
}

std::optional<int> Process::wait_for_exit(std::chrono::milliseconds limit) {
    poll_until([this] { return !running(); }, limit);
    return status_;
}

void Process::signal(int number) {
    if (running()) kill(pid_, number);
}

// --- Sessions ----------------------------------------------------------------------------

Session::Session(const std::string& socket) : socket_(socket) {
    char pattern[] = "/tmp/vq-wayland-XXXXXX";
    if (mkdtemp(pattern) != nullptr) folder_ = pattern;
    fs::permissions(folder_, fs::perms::owner_all | fs::perms::group_read |
                                 fs::perms::group_exec | fs::perms::others_read |
                                 fs::perms::others_exec);
    runtime_ = folder_ / "runtime";
    home_ = folder_ / "home";
    for (const auto& private_folder : {runtime_, home_}) {
        fs::create_directory(private_folder);
        fs::permissions(private_folder, fs::perms::owner_all);
        give_to_session_user(private_folder);
    }
}

Session::~Session() {
    stop();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

std::vector<std::string> Session::environment() const {
    std::vector<std::string> env = base_environment();
    env.push_back("XDG_RUNTIME_DIR=" + runtime_.string());
    env.push_back("HOME=" + home_.string());
    env.push_back("WAYLAND_DISPLAY=" + socket_);
    for (const auto& entry : fs::directory_iterator(runtime_))
        if (entry.path().filename().string().starts_with("sway-ipc."))
            env.push_back("SWAYSOCK=" + entry.path().string());
    return env;
}

Process Session::client(std::vector<std::string> argv, std::vector<std::string> extra,
                        const fs::path& errors) const {
    std::vector<std::string> env = environment();
    for (auto& e : extra) {
        // An entry of `extra` replaces the session's own of that name.
        const std::string name = e.substr(0, e.find('=') + 1);
        std::erase_if(env, [&](const std::string& old) { return old.starts_with(name); });
        env.push_back(std::move(e));
    }
    return Process(std::move(argv), env, errors);
}

fs::path Session::write_file(const std::string& name, const std::string& text) const {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

bool Session::start_compositor(std::vector<std::string> argv, std::vector<std::string> extra) {
    compositor_.emplace(client(std::move(argv), std::move(extra), folder_ / "compositor.log"));
    return poll_until([&] {
        return fs::exists(runtime_ / socket_) || !compositor_->running();
    }) && compositor_->running();
}

void Session::stop() {
    if (!compositor_ || !compositor_->running()) return;
    compositor_->signal(SIGTERM);
    if (!compositor_->wait_for_exit()) compositor_->signal(SIGKILL);
}

void Session::kill_compositor() {
    if (compositor_) compositor_->signal(SIGKILL);
}

// --- Sway --------------------------------------------------------------------------------

Sway::Sway(const std::string& output_lines, int outputs, const Session* host)
    : Session("wayland-1") {
    const fs::path config = write_file(
        "sway.config", "xwayland disable\ndefault_border none\n" + output_lines + "\n");
    const std::string count = std::to_string(outputs);
    std::vector<std::string> backend{"WLR_BACKENDS=headless", "WLR_HEADLESS_OUTPUTS=" + count};
    if (host != nullptr)
        backend = {"WLR_BACKENDS=wayland", "WLR_WL_OUTPUTS=" + count,
                   "WAYLAND_DISPLAY=" + host->socket_path().string()};
    backend.insert(backend.end(), {"WLR_RENDERER=pixman", "WLR_LIBINPUT_NO_DEVICES=1"});
    if (!start_compositor({"sway", "-c", config.string()}, backend)) return;
    if (!poll_until([&] { return !swaymsg({"-t", "get_version"}).empty(); })) return;
    // A keyboard plugged in for the whole session: one plugged in per key comes too late
    // for a client that has just started. It would press F24 after an hour.
    keyboard_.emplace(client({"wtype", "-s", "3600000", "-k", "F24"}));
    pointer_.emplace(client({virtual_pointer_path()}, {}, folder_ / "virtual_pointer.log"));
    // Both devices are on the seat: its capabilities are pointer (1) and keyboard (2).
    ready_ = poll_until([&] {
        return swaymsg({"-t", "get_seats"}).find("\"capabilities\": 3") != std::string::npos;
    });
}

Sway::~Sway() {
    // The devices go with the compositor; they end on their own once it has gone.
    stop();
}

std::string Sway::swaymsg(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), "swaymsg");
    return output_of(as_session_user(arguments, true), environment());
}

bool Sway::command(const std::string& text) const {
    const std::string reply = swaymsg({"--", text});
    return reply.find("\"success\": true") != std::string::npos &&
           reply.find("\"success\": false") == std::string::npos;
}

std::vector<Output> Sway::outputs() const {
    // Each output's record starts with its id; its name, scale and rect follow in any order.
    const std::string reply = swaymsg({"-t", "get_outputs", "-r"});
    static const std::regex name(R"re("name":\s*"([^"]+)")re");
    static const std::regex scale(R"re("scale":\s*([0-9.]+))re");
    static const std::regex rect(
        R"re("rect":\s*\{\s*"x":\s*(-?\d+),\s*"y":\s*(-?\d+),\s*"width":\s*(\d+),\s*"height":\s*(\d+))re");
    std::vector<Output> found;
    std::size_t start = reply.find("\"id\"");
    while (start != std::string::npos) {
        const std::size_t next = reply.find("\"id\"", start + 1);
        const std::string one = reply.substr(start, next - start);
        std::smatch n, s, r;
        if (std::regex_search(one, n, name) && std::regex_search(one, s, scale) &&
            std::regex_search(one, r, rect)) {
            const int x = std::stoi(r[1]), y = std::stoi(r[2]);
            found.push_back(
                {n[1], {x, y, x + std::stoi(r[3]), y + std::stoi(r[4])}, std::stod(s[1])});
        }
        start = next;
    }
    return found;
}

Image Sway::capture(const std::string& output, bool with_pointer) const {
    std::vector<std::string> argv{"grim", "-t", "ppm", "-o", output};
    if (with_pointer) argv.push_back("-c");
    argv.push_back("-");
    return Image::from_ppm(output_of(as_session_user(argv, true), environment()));
}

void Sway::key(const std::string& name) const {
    output_of(as_session_user({"wtype", "-k", name}, true), environment());
}

void Sway::click(int button) const {
    const std::string which = "button" + std::to_string(button);
    command("seat seat0 cursor press " + which);
    command("seat seat0 cursor release " + which);
}

void Sway::move_to(int x, int y) const {
    // The command places the pointer from the top-left corner of the layout's bounds.
    int left = 0, top = 0;
    for (const Output& o : outputs()) {
        left = std::min(left, o.logical.left);
        top = std::min(top, o.logical.top);
    }
    command("seat seat0 cursor set " + std::to_string(x - left) + " " + std::to_string(y - top));
}

void Sway::move_by(int dx, int dy) const {
    command("seat seat0 cursor move " + std::to_string(dx) + " " + std::to_string(dy));
}

// --- Weston ------------------------------------------------------------------------------

Weston::Weston(int width, int height) : Session("wayland-w") {
    ready_ = start_compositor({"weston", "--backend=headless-backend.so", "--use-pixman",
                               "--width=" + std::to_string(width),
                               "--height=" + std::to_string(height), "--socket=" + socket_,
                               "--idle-time=0", "--no-config", "--debug"},
                              {});
}

Image Weston::capture() const {
    // The screenshooter writes a PNG into its working folder; a folder of its own each time.
    static int count = 0;
    const fs::path shots = folder_ / ("shot-" + std::to_string(++count));
    fs::create_directory(shots);
    give_to_session_user(shots);
    output_of(as_session_user({"sh", "-c", "cd \"$0\" && exec weston-screenshooter",
                               shots.string()},
                              true),
              environment());
    for (const auto& entry : fs::directory_iterator(shots))
        if (entry.path().extension() == ".png")
            return Image::from_ppm(
                output_of({"/usr/bin/convert", entry.path().string(), "ppm:-"}, base_environment()));
    return {};
}

// --- Programs ----------------------------------------------------------------------------

namespace {

// A folder for this test run's copies, removed when the run ends.
class StagedPrograms {
  public:
    StagedPrograms() {
        char pattern[] = "/tmp/vq-wayland-programs-XXXXXX";
        if (mkdtemp(pattern) != nullptr) folder_ = pattern;
        fs::permissions(folder_, fs::perms::owner_all | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read |
                                     fs::perms::others_exec);
    }
    ~StagedPrograms() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::string copy(const fs::path& original) {
        const fs::path staged = folder_ / original.filename();
        std::error_code ignored;
        if (!fs::exists(staged)) fs::copy_file(original, staged, ignored);
        return staged.string();
    }

  private:
    fs::path folder_;
};

StagedPrograms& staged() {
    static StagedPrograms programs;
    return programs;
}

}  // namespace

std::string saver_path() {
    staged().copy(VQ_SAVER_GTK_PATH);
    return staged().copy(VQ_SAVER_PATH);
}

std::string virtual_pointer_path() {
    return staged().copy(VQ_VIRTUAL_POINTER_PATH);
}

std::string backdrop_path() {
    return staged().copy(VQ_BACKDROP_PATH);
}

// --- The saver ---------------------------------------------------------------------------

Process start_saver(const Session& session, std::vector<std::string> options,
                    const std::optional<std::string>& settings, const fs::path& errors) {
    static int count = 0;
    const fs::path home = session.folder() / ("saver-" + std::to_string(++count));
    const fs::path config = home / "config";
    fs::create_directories(config / "vqsaver");
    if (settings) std::ofstream(config / "vqsaver" / "settings.ini", std::ios::binary) << *settings;
    for (const auto& entry : fs::recursive_directory_iterator(home))
        give_to_session_user(entry.path());
    give_to_session_user(home);
    options.insert(options.begin(), saver_path());
    return session.client(std::move(options),
                          {"HOME=" + home.string(), "XDG_CONFIG_HOME=" + config.string()}, errors);
}

}  // namespace vqw
