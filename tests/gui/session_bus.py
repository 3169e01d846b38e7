"""A private session bus for a test's own desktop. It starts no service by
itself, so no accessibility bus or other desktop service of an earlier run
can leak into the next one through the display."""

import subprocess
import tempfile

CONFIG = """<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>
<policy context="default"><allow send_destination="*"/><allow receive_sender="*"/>
<allow own="*"/></policy></busconfig>"""


class SessionBus:
    def __enter__(self):
        self.config = tempfile.NamedTemporaryFile("w", suffix=".conf")
        self.config.write(CONFIG)
        self.config.flush()
        self.daemon = subprocess.Popen(["dbus-daemon", "--config-file=" + self.config.name, "--nofork",
                                        "--print-address=1"], stdout=subprocess.PIPE,
                                       stderr=subprocess.DEVNULL, text=True)
        self.address = self.daemon.stdout.readline().strip()
        self.daemon.stdout.close()
        if not self.address:
            raise AssertionError("the session bus did not start")
        return self

    def __exit__(self, *exc):
        self.daemon.terminate()
        self.daemon.wait()
        self.config.close()
