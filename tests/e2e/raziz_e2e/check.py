"""The check registry: each check is a function of the run, with its name, what it needs of the cell, the
group it belongs to, and its own deadline."""
from dataclasses import dataclass, field

CHECKS = []


@dataclass
class Check:
    name: str
    func: object
    group: str
    needs: frozenset = field(default_factory=frozenset)
    deadline: float = 60
    # Cells (by desktop name) that leave this check out, with the reason.
    left_out: dict = field(default_factory=dict)

    @property
    def id(self):
        return self.func.__name__


def check(name, group="session", needs=(), deadline=60, left_out=None):
    """Registers a check. needs: desktop capabilities (desktop.CAPABILITIES) the check cannot do without.
    left_out: {desktop name: reason} for a cell where the check does not apply."""
    def register(func):
        CHECKS.append(Check(name, func, group, frozenset(needs), deadline, dict(left_out or {})))
        return func
    return register
