"""What a screen reader sees of a running program, through AT-SPI.

  atspi.py dump APP                    every object: role, name, screen extents
  atspi.py find APP ROLE NAME          exit 0 when an object with that role and name is showing
  atspi.py count APP ROLE [PREFIX]     how many objects of that role (names starting with PREFIX)
  atspi.py text APP NAME               the text of the object with that name
  atspi.py value APP NAME              the current value of the object with that name
  atspi.py press APP NAME              runs the first action ("click") of the push button with that name
  atspi.py focused APP                 the object holding the keyboard focus: role|name|extents

APP is the application's name as it registers (the program's name). Exit status 2: not found.
"""
import sys

import pyatspi


def application(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == name:
            return app
    return None


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def extents(obj):
    try:
        e = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return "%d,%d,%d,%d" % (e.x, e.y, e.width, e.height)
    except NotImplementedError:
        return "-"


def by_name(app, name, role=None):
    for obj in walk(app):
        if obj.name == name and (role is None or obj.getRoleName() == role):
            return obj
    return None


def main(argv):
    if len(argv) < 3:
        print(__doc__)
        return 2
    command, app = argv[1], application(argv[2])
    if app is None:
        print("no application named %s" % argv[2])
        return 2
    if command == "dump":
        for obj in walk(app):
            print("%s|%s|%s" % (obj.getRoleName(), obj.name, extents(obj)))
        return 0
    if command == "count":
        prefix = argv[4] if len(argv) > 4 else ""
        print(sum(1 for o in walk(app) if o.getRoleName() == argv[3] and o.name.startswith(prefix)))
        return 0
    if command == "focused":
        for obj in walk(app):
            if obj.getState().contains(pyatspi.STATE_FOCUSED):
                print("%s|%s|%s" % (obj.getRoleName(), obj.name, extents(obj)))
                return 0
        return 2
    if command == "find":
        obj = by_name(app, argv[4], argv[3])
        return 0 if obj is not None and obj.getState().contains(pyatspi.STATE_SHOWING) else 2
    obj = by_name(app, argv[3], "push button" if command == "press" else None)
    if obj is None:
        print("nothing named %r" % argv[3])
        return 2
    if command == "text":
        t = obj.queryText()
        print(t.getText(0, t.characterCount))
    elif command == "value":
        print("%g" % obj.queryValue().currentValue)
    elif command == "press":
        obj.queryAction().doAction(0)
    else:
        print(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
