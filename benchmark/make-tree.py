#!/usr/bin/env python3
"""Makes a synthetic folder tree for the benchmark: COUNT folders below ROOT
with fan-out 10 (breadth first), three small files in every folder.
   make-tree.py ROOT COUNT        or        make-tree.py --files ROOT COUNT
The second form makes one folder holding COUNT files."""
import os
import sys


def make_tree(root, count):
    os.makedirs(root)
    for name in ("file0.txt", "file1.txt", "file2.txt"):
        open(os.path.join(root, name), "w").close()
    # Folder k's children are 10k+1 .. 10k+10; folder 0 is the root.
    paths = [root]
    for k in range(1, count + 1):
        parent = paths[(k - 1) // 10]
        path = os.path.join(parent, "d%d" % ((k - 1) % 10))
        os.mkdir(path)
        for name in ("file0.txt", "file1.txt", "file2.txt"):
            open(os.path.join(path, name), "w").close()
        paths.append(path)


def make_files(root, count):
    os.makedirs(root)
    for k in range(count):
        with open(os.path.join(root, "file%06d.dat" % k), "w") as f:
            f.write("x" * (k % 97))


def main():
    args = sys.argv[1:]
    files = bool(args) and args[0] == "--files"
    if files:
        args = args[1:]
    if len(args) != 2 or not args[1].isdigit():
        sys.exit(__doc__)
    root, count = args[0], int(args[1])
    partial = root + ".partial"
    if os.path.exists(partial):
        import shutil
        shutil.rmtree(partial)
    (make_files if files else make_tree)(partial, count)
    os.rename(partial, root)


if __name__ == "__main__":
    main()
