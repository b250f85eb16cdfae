#!/usr/bin/env python3
"""The release path, run as a maker would run it, checked from the outside.

    release_test.py SOURCE_DIR BUILD_DIR WORK_DIR

1. Without a certificate: the release says it is unsigned, its installer is
   byte for byte the ordinary build's, and SHA256SUMS matches it.
2. With a throwaway code-signing certificate (PEM): osslsigncode accepts the
   installer and both plug-ins taken back out of its payload, SHA256SUMS
   matches, and one changed byte makes the installer fail verification.
3. The same signer as PKCS#12 with a password; an incomplete certificate
   setting and an unreachable time-stamp server are errors, not unsigned files.
The signed release stays in WORK_DIR for the end-to-end install under Wine.
Every failed check prints what was expected and what was seen; the exit
code is the number of failures.
"""
import hashlib
import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "plugin"))
from check_8bf import Image  # noqa: E402

SIGN_VARIABLES = ("SIGN_CERT", "SIGN_KEY", "SIGN_PKCS12", "SIGN_PASSWORD", "SIGN_TIMESTAMP_URL")
PAYLOAD = {3000: ":I__RELIEF.8BF", 3001: ":I__RELIEF(X64).8BF"}
failures = 0


def check(what, expected, seen, detail=""):
    global failures
    if expected != seen:
        failures += 1
        print(f"FAIL {what}: expected {expected!r}, seen {seen!r}")
        if detail:
            print(detail)
    else:
        print(f"ok   {what}: {seen!r}")


def environment(**signing):
    env = {k: v for k, v in os.environ.items() if k not in SIGN_VARIABLES}
    env.update(signing)
    return env


def run(command, env=None):
    return subprocess.run(command, env=env or environment(), capture_output=True, text=True)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def verifies(path, ca):
    """Whether osslsigncode accepts path's signature against the CA file."""
    result = run(["osslsigncode", "verify", "-in", path, "-CAfile", ca])
    return result.returncode == 0 and "Signature verification: ok" in result.stdout


def release(src, tree, out, env):
    result = run(["bash", os.path.join(src, "scripts", "release.sh"), src, tree, out], env)
    print(result.stdout + result.stderr)
    check("release.sh exit code", 0, result.returncode)
    return result.stdout


def check_sums(out):
    sums = read(os.path.join(out, "SHA256SUMS")).decode("ascii")
    digest = hashlib.sha256(read(os.path.join(out, "iRelief-Setup.exe"))).hexdigest()
    check("SHA256SUMS is one sha256sum line for the installer", f"{digest}  iRelief-Setup.exe\n", sums)
    check("sha256sum -c SHA256SUMS", 0, subprocess.run(["sha256sum", "-c", "--quiet", "SHA256SUMS"], cwd=out).returncode)


def make_certificate(work):
    cert, key, p12 = (os.path.join(work, n) for n in ("cert.pem", "key.pem", "signer.p12"))
    made = run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                "-days", "2", "-subj", "/CN=Mirefold test signing/O=Mirefold",
                "-addext", "keyUsage=critical,digitalSignature", "-addext", "extendedKeyUsage=codeSigning"])
    check("throwaway certificate made", 0, made.returncode, made.stderr)
    made = run(["openssl", "pkcs12", "-export", "-inkey", key, "-in", cert, "-out", p12,
                "-passout", "pass:throwaway pass"])
    check("PKCS#12 made", 0, made.returncode, made.stderr)
    return cert, key, p12


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: release_test.py SOURCE_DIR BUILD_DIR WORK_DIR")
    src, build, work = (os.path.abspath(p) for p in sys.argv[1:])
    tree, unsigned, signed = (os.path.join(work, n) for n in ("tree", "unsigned", "signed"))
    for d in (unsigned, signed):
        shutil.rmtree(d, ignore_errors=True)
    os.makedirs(work, exist_ok=True)
    cert, key, p12 = make_certificate(work)

    print("==== release without a certificate")
    said = release(src, tree, unsigned, environment())
    check("says the files are unsigned", True, "UNSIGNED: no certificate" in said)
    check("sign.sh said UNSIGNED for both plug-ins and the installer", 3, said.count("sign.sh: UNSIGNED"))
    exe = read(os.path.join(unsigned, "iRelief-Setup.exe"))
    check("unsigned installer is byte for byte the ordinary build's", True,
          exe == read(os.path.join(build, "iRelief-Setup.exe")))
    check("unsigned installer has no certificate table", (0, 0), tuple(Image(exe).dirs[4]))
    check_sums(unsigned)

    print("==== release with a certificate (PEM)")
    said = release(src, tree, signed, environment(SIGN_CERT=cert, SIGN_KEY=key))
    check("says the files are signed", True, "SIGNED: the installer and both plug-ins" in said)
    installer = os.path.join(signed, "iRelief-Setup.exe")
    check("osslsigncode verify: installer", True, verifies(installer, cert))
    resources = Image(read(installer)).resources()
    for rtype, name in PAYLOAD.items():
        extracted = os.path.join(work, f"payload-{rtype}.8bf")
        with open(extracted, "wb") as f:
            f.write(resources.get((rtype, name, 1033), b""))
        check(f"osslsigncode verify: plug-in {name} taken out of the installer", True, verifies(extracted, cert))
        arch = "x86" if rtype == 3000 else "x64"
        check(f"plug-in {name} is the release tree's signed copy", True,
              read(extracted) == read(os.path.join(tree, "signed", arch, "iRelief.8bf")))
    check_sums(signed)

    tampered = os.path.join(work, "tampered.exe")
    data = bytearray(read(installer))
    image = Image(bytes(data))
    _, _, _, rawptr, rawsize = image.sections[0]
    data[rawptr + rawsize // 2] ^= 0x01
    with open(tampered, "wb") as f:
        f.write(data)
    check("one changed byte fails verification", False, verifies(tampered, cert))

    print("==== the signer's other forms")
    as_p12 = os.path.join(work, "p12", "iRelief-Setup.exe")
    plain = os.path.join(unsigned, "iRelief-Setup.exe")
    result = run(["bash", os.path.join(src, "scripts", "sign.sh"), plain, as_p12, "iRelief Setup"],
                 environment(SIGN_PKCS12=p12, SIGN_PASSWORD="throwaway pass"))
    check("sign.sh with SIGN_PKCS12 and SIGN_PASSWORD", 0, result.returncode, result.stdout + result.stderr)
    check("osslsigncode verify: PKCS#12-signed installer", True, verifies(as_p12, cert))
    for what, env in (("SIGN_CERT without SIGN_KEY", environment(SIGN_CERT=cert)),
                      ("a wrong PKCS#12 password", environment(SIGN_PKCS12=p12, SIGN_PASSWORD="wrong")),
                      ("an unreachable time-stamp server",
                       environment(SIGN_CERT=cert, SIGN_KEY=key, SIGN_TIMESTAMP_URL="http://127.0.0.1:9/"))):
        failed = os.path.join(work, "failed", "iRelief-Setup.exe")
        result = run(["bash", os.path.join(src, "scripts", "sign.sh"), plain, failed, "iRelief Setup"], env)
        check(f"{what}: sign.sh fails", True, result.returncode != 0)
        check(f"{what}: no file written", False, os.path.exists(failed))
        check(f"{what}: not passed off as unsigned", None, re.search("UNSIGNED", result.stdout))

    print(f"{failures} failure(s)")
    sys.exit(min(failures, 100))


if __name__ == "__main__":
    main()
