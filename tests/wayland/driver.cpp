#include "driver.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace vqw {
namespace fs = std::filesystem;

namespace {

// A screenshot in binary PPM; empty when it is not one.
Image from_ppm(const std::string& bytes) {
    std::istringstream in(bytes);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    if (!(in >> magic >> width >> height >> maximum) || magic != "P6" || maximum != 255 ||
        width <= 0 || height <= 0)
        return {};
    in.get();  // the one blank after the header
    const std::size_t count = static_cast<std::size_t>(width) * height;
    const std::size_t start = static_cast<std::size_t>(in.tellg());
    if (bytes.size() < start + count * 3) return {};
    std::vector<uint32_t> pixels(count);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + start);
    for (std::size_t i = 0; i < count; ++i, p += 3)
        pixels[i] = (unsigned{p[0]} << 16) | (unsigned{p[1]} << 8) | p[2];
    return Image({0, 0, width, height}, std::move(pixels));
}

}  // namespace

// --- Processes ---------------------------------------------------------------------------

namespace {

// Whether processes started here change to the unprivileged user, and which one.
bool running_as_root() {
    return geteuid() == 0;
}
constexpr uid_t kSessionUser = 65534;

// The command line that runs `argv` as the session's user.
std::vector<std::string> as_session_user(std::vector<std::string> argv) {
    if (running_as_root()) {
        const std::string id = std::to_string(kSessionUser);
        argv.insert(argv.begin(),
                    {"setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups", "--"});
    }
    return argv;
}

std::vector<std::string> base_environment() {
    return {"PATH=/usr/local/bin:/usr/bin:/bin", "LANG=C.UTF-8"};
}

// What `argv` writes on stdout, run to its end with status 0.
std::string output_of(const std::vector<std::string>& argv,
                      const std::vector<std::string>& environment) {
    int pipe_fds[2];
    if (pipe2(pipe_fds, O_CLOEXEC) != 0) return {};
    Process process(argv, environment, {}, pipe_fds[1]);
    close(pipe_fds[1]);
    const std::string text = read_text("/dev/fd/" + std::to_string(pipe_fds[0]));
    close(pipe_fds[0]);
    return process.wait_for_exit() == 0 ? text : std::string{};
}

void give_to_session_user(const fs::path& path) {
    if (running_as_root() && chown(path.c_str(), kSessionUser, kSessionUser) != 0) {
        // The session's clients then fail to use it, which the tests report.
    }
}

}  // namespace

// --- Sessions ----------------------------------------------------------------------------

Session::Session(const std::string& socket) : socket_(socket) {
    char pattern[] = "/tmp/vq-wayland-XXXXXX";
    if (mkdtemp(pattern) != nullptr) folder_ = pattern;
    fs::permissions(folder_, fs::perms{0755});  // read by the session's user
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
    return Process(as_session_user(std::move(argv)),
                   vqtest::with_entries(environment(), std::move(extra)), errors);
}

std::string Session::stage(const fs::path& program) const {
    const fs::path staged = folder_ / program.filename();
    std::error_code ignored;
    if (!fs::exists(staged)) fs::copy_file(program, staged, ignored);
    return staged.string();
}

std::string Session::saver_path() const {
    stage(VQ_SAVER_GTK_PATH);
    return stage(VQ_SAVER_PATH);
}

bool Session::start_compositor(std::vector<std::string> argv, std::vector<std::string> extra) {
    compositor_.emplace(client(std::move(argv), std::move(extra), folder_ / "compositor.log"));
    return poll_until([&] { return fs::exists(runtime_ / socket_) || !compositor_->running(); }) &&
           compositor_->running();
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
    // Read by the session's user: the folder is open to all.
    const fs::path config = folder_ / "sway.config";
    std::ofstream(config) << "xwayland disable\ndefault_border none\n" << output_lines << "\n";
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
    pointer_.emplace(client({stage(VQ_VIRTUAL_POINTER_PATH)}, {}, folder_ / "virtual_pointer.log"));
    // Both devices are on the seat: its capabilities are pointer (1) and keyboard (2).
    ready_ = poll_until([&] {
        return swaymsg({"-t", "get_seats"}).find("\"capabilities\": 3") != std::string::npos;
    });
}

std::string Sway::swaymsg(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), "swaymsg");
    return output_of(as_session_user(arguments), environment());
}

bool Sway::command(const std::string& text) const {
    const std::string reply = swaymsg({"--", text});
    return reply.find("\"success\": true") != std::string::npos &&
           reply.find("\"success\": false") == std::string::npos;
}

bool Sway::has_output(const std::string& name) const {
    return swaymsg({"-t", "get_outputs", "-r"}).find("\"name\": \"" + name + "\"") !=
           std::string::npos;
}

Image Sway::capture(const std::string& output, bool with_pointer) const {
    std::vector<std::string> argv{"grim", "-t", "ppm", "-o", output};
    if (with_pointer) argv.push_back("-c");
    argv.push_back("-");
    return from_ppm(output_of(as_session_user(argv), environment()));
}

void Sway::key(const std::string& name) const {
    output_of(as_session_user({"wtype", "-k", name}), environment());
}

void Sway::click(int button) const {
    const std::string which = "button" + std::to_string(button);
    command("seat seat0 cursor press " + which);
    command("seat seat0 cursor release " + which);
}

void Sway::move_to(int x, int y) const {
    command("seat seat0 cursor set " + std::to_string(x) + " " + std::to_string(y));
}

void Sway::move_by(int dx, int dy) const {
    command("seat seat0 cursor move " + std::to_string(dx) + " " + std::to_string(dy));
}

// --- Weston ------------------------------------------------------------------------------

Weston::Weston(int width, int height) : Session("wayland-w") {
    ready_ =
        start_compositor({"weston", "--backend=headless-backend.so", "--use-pixman",
                          "--width=" + std::to_string(width), "--height=" + std::to_string(height),
                          "--socket=" + socket_, "--idle-time=0", "--no-config", "--debug"},
                         {});
}

Image Weston::capture() const {
    // The screenshooter writes a PNG into its working folder; a folder of its own each time.
    static int count = 0;
    const fs::path shots = folder_ / ("shot-" + std::to_string(++count));
    fs::create_directory(shots);
    give_to_session_user(shots);
    output_of(
        as_session_user({"sh", "-c", "cd \"$0\" && exec weston-screenshooter", shots.string()}),
        environment());
    for (const auto& entry : fs::directory_iterator(shots))
        if (entry.path().extension() == ".png")
            return from_ppm(output_of({"/usr/bin/convert", entry.path().string(), "ppm:-"},
                                      base_environment()));
    return {};
}

// --- The saver ---------------------------------------------------------------------------

Process start_saver(const Session& session, std::vector<std::string> options,
                    const std::optional<std::string>& settings, const fs::path& errors) {
    static int count = 0;
    const fs::path home = session.folder() / ("saver-" + std::to_string(++count));
    std::vector<std::string> home_entries = vqtest::saver_home(home, settings);
    for (const auto& entry : fs::recursive_directory_iterator(home))
        give_to_session_user(entry.path());
    give_to_session_user(home);
    options.insert(options.begin(), session.saver_path());
    return session.client(std::move(options), std::move(home_entries), errors);
}

}  // namespace vqw
