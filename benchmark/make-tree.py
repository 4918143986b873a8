#!/usr/bin/env python3
"""Makes a synthetic folder tree for the benchmark: COUNT folders below ROOT,
three small files in every folder, in one of three shapes:
  fanout   fan-out 10, breadth first (folder k's children are 10k+1 .. 10k+10)
  wide     one folder, ROOT\\wide, holding COUNT folders side by side, and beside
           it ROOT\\k1000 holding 1,000 (COUNT + 1,002 folders in all)
  chains   100 chains of COUNT/100 folders, each folder in the one before
   make-tree.py [--shape SHAPE] ROOT COUNT     or     make-tree.py --files ROOT COUNT
The second form makes one folder holding COUNT files."""
import os
import sys

FILES = ("file0.txt", "file1.txt", "file2.txt")
CHAINS = 100


def make_folder(path):
    os.mkdir(path)
    for name in FILES:
        open(os.path.join(path, name), "w").close()


def make_fanout(root, count):
    paths = [root]
    for k in range(1, count + 1):
        path = os.path.join(paths[(k - 1) // 10], "d%d" % ((k - 1) % 10))
        make_folder(path)
        paths.append(path)


def make_wide(root, count):
    for name, children in (("wide", count), ("k1000", 1000)):
        parent = os.path.join(root, name)
        make_folder(parent)
        for k in range(children):
            make_folder(os.path.join(parent, "w%06d" % k))


def make_chains(root, count):
    depth = max(count // CHAINS, 1)
    for c in range(CHAINS):
        # Relative steps keep every call's path short, however deep the chain.
        here = os.getcwd()
        os.chdir(root)
        try:
            make_folder("c%02d" % c)
            os.chdir("c%02d" % c)
            for _ in range(depth - 1):
                make_folder("d")
                os.chdir("d")
        finally:
            os.chdir(here)


def make_files(root, count):
    os.makedirs(root)
    for k in range(count):
        with open(os.path.join(root, "file%06d.dat" % k), "w") as f:
            f.write("x" * (k % 97))


SHAPES = {"fanout": make_fanout, "wide": make_wide, "chains": make_chains}


def main():
    args = sys.argv[1:]
    files = bool(args) and args[0] == "--files"
    shape = "fanout"
    if files:
        args = args[1:]
    elif len(args) >= 2 and args[0] == "--shape":
        shape, args = args[1], args[2:]
    if len(args) != 2 or not args[1].isdigit() or shape not in SHAPES:
        sys.exit(__doc__)
    root, count = os.path.abspath(args[0]), int(args[1])
    partial = root + ".partial"
    if os.path.exists(partial):
        import shutil
        shutil.rmtree(partial)
    if files:
        make_files(partial, count)
    else:
        os.makedirs(partial)
        for name in FILES:
            open(os.path.join(partial, name), "w").close()
        SHAPES[shape](partial, count)
    os.rename(partial, root)


if __name__ == "__main__":
    main()
