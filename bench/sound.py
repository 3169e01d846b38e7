"""A private sound server with one null output, so that every program plays
its streams with sound as on a desktop, without a sound card."""

import os
import subprocess
import time


class SoundServer:
    def __init__(self, folder):
        self.folder = os.path.join(folder, "sound")
        self.socket = os.path.join(self.folder, "native")
        self.process = None

    def __enter__(self):
        os.makedirs(self.folder, mode=0o700, exist_ok=True)
        env = dict(os.environ, HOME=self.folder, XDG_RUNTIME_DIR=self.folder,
                   PULSE_RUNTIME_PATH=os.path.join(self.folder, "run"))
        self.process = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
             "--log-level=error", "-L", "module-null-sink",
             "-L", "module-native-protocol-unix socket=%s auth-anonymous=1" % self.socket],
            env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists(self.socket):
                return self
            time.sleep(0.1)
        raise RuntimeError("the sound server did not start")

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait()

    def env(self):
        # The engine's sandbox lets its processes reach this socket.
        return {"PULSE_SERVER": "unix:" + self.socket}
