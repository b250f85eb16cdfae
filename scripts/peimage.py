"""Reads a PE file (exe or DLL) as Windows lays it out: headers, sections,
data directories, exports, imports and the resource tree."""
import struct


class Image:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        (self.machine, sections, _, _, _, optional_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", data, opt)[0]
        directories = opt + (96 if self.magic == 0x10B else 112)
        count = struct.unpack_from("<I", data, directories - 4)[0]
        self.dirs = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(count)]
        self.sections = []
        table = opt + optional_size
        for i in range(sections):
            name, vsize, va, rawsize, rawptr = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((name.rstrip(b"\0"), va, max(vsize, rawsize), rawptr, rawsize))

    def offset(self, rva):
        for _, va, size, rawptr, rawsize in self.sections:
            if va <= rva < va + size:
                if rva - va >= rawsize:
                    raise ValueError(f"RVA {rva:#x} lies in uninitialised data")
                return rawptr + rva - va
        raise ValueError(f"RVA {rva:#x} is in no section")

    def cstring(self, rva):
        at = self.offset(rva)
        end = self.data.index(b"\0", at)
        return self.data[at:end].decode("ascii")

    def exports(self):
        rva, size = self.dirs[0]
        if not size:
            return []
        at = self.offset(rva)
        names_count = struct.unpack_from("<I", self.data, at + 24)[0]
        names_rva = struct.unpack_from("<I", self.data, at + 32)[0]
        names_at = self.offset(names_rva)
        return [self.cstring(struct.unpack_from("<I", self.data, names_at + 4 * i)[0])
                for i in range(names_count)]

    def imports(self):
        rva, size = self.dirs[1]
        dlls = []
        at = self.offset(rva)
        while True:
            entry = struct.unpack_from("<IIIII", self.data, at)
            if not any(entry):
                return dlls
            dlls.append(self.cstring(entry[3]))
            at += 20

    def resources(self):
        """Returns {(type, name, language): bytes}; names are str or int. The
        entries come in the order of the resource directory, which is the order
        in which EnumResourceNames reports them: named ones first."""
        rva, size = self.dirs[2]
        base = self.offset(rva)
        found = {}

        def label(entry_name):
            if entry_name & 0x80000000:
                at = base + (entry_name & 0x7FFFFFFF)
                length = struct.unpack_from("<H", self.data, at)[0]
                return self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
            return entry_name

        def walk(at, path):
            named, numbered = struct.unpack_from("<HH", self.data, at + 12)
            for i in range(named + numbered):
                name, target = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
                here = path + (label(name),)
                if target & 0x80000000:
                    walk(base + (target & 0x7FFFFFFF), here)
                else:
                    data_rva, data_size = struct.unpack_from("<II", self.data, base + target)
                    start = self.offset(data_rva)
                    found[here] = self.data[start:start + data_size]

        walk(base, ())
        return found
