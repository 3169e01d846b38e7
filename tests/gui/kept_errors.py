"""The program started like harness.Program, with its error output kept."""

import os

import harness as h


class KeptErrors(h.Program):
    def __init__(self):
        super().__init__()
        self.errors = os.path.join(self.home, "stderr")

    def start(self, cwd="/"):
        with open(self.errors, "wb") as errors:
            return super().start(cwd, stderr=errors)

    def error_lines(self):
        with open(self.errors, errors="replace") as f:
            return f.read().splitlines()
