# SPDX-License-Identifier: Apache-2.0
"""Loaded into Orca's Python (through PYTHONPATH) by orca_in_session.sh.

Orca writes its debug log through a block-buffered file, so what it says
reaches the file only once kilobytes have gathered, or when it exits; the
test reads the log while Orca speaks. The log file, and only it, is opened
line-buffered instead. Nothing else of Orca changes."""
import builtins
import os

_log = os.environ.get("KELM_ORCA_LOG")
if _log:
    _open = builtins.open

    def _open_log_line_buffered(file, mode="r", buffering=-1, *args, **kwargs):
        if buffering == -1 and isinstance(file, str) and os.path.abspath(file) == _log:
            buffering = 1
        return _open(file, mode, buffering, *args, **kwargs)

    builtins.open = _open_log_line_buffered
