"""A private X display: an Xvfb that picks a display nobody uses itself (-displayfd), so
that runs side by side never share one."""

import os
import select
import subprocess

from polling import poll_until


class PrivateXvfb:
    """Xvfb with a WxH screen of 24 bits, taking connections once constructed; `display` is
    ":N". What it says goes to the file `log`. Raises RuntimeError if it does not start."""

    def __init__(self, screen, log, seconds=30.0):
        read_end, write_end = os.pipe()
        # -noreset: the server would reset when its last client leaves, and lose its monitors.
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % screen,
             "-noreset", "-nolisten", "tcp"], pass_fds=(write_end,),
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=open(log, "w"))
        os.close(write_end)
        answer = b""
        with os.fdopen(read_end, "rb", buffering=0) as ready:
            # Its number and a line feed once it takes connections; nothing if it dies.
            def answered():
                nonlocal answer
                if select.select([ready], [], [], 0)[0]:
                    more = ready.read(16)
                    answer += more
                    return not more or answer.endswith(b"\n")
                return False
            try:
                poll_until("Xvfb to start", answered, seconds)
            except TimeoutError:
                pass
        if not answer.endswith(b"\n"):
            self.stop()
            raise RuntimeError(f"Xvfb did not start, see {log}")
        self.display = ":" + answer.decode().strip()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
