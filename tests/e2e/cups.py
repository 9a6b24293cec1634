"""A private CUPS server with the cups-pdf printer "PDF", for the printing steps.
Its configuration, spool and socket live in a folder of the test's own; the
system's CUPS is never touched. cups-pdf writes its files to the job owner's
~/PDF (the home of the account, as the system knows it)."""
import os
import pwd
import shutil
import subprocess
import tempfile
import time

PPD = "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"


class ServeurCups:
    def __init__(self):
        # A folder of its own, that the filters (run as the lp account) can reach.
        self.dossier = tempfile.mkdtemp(prefix="ardemo-cups-")
        os.chmod(self.dossier, 0o755)
        self.socket = os.path.join(self.dossier, "cups.sock")
        self.proc = None
        self.raison = None  # why it could not start

    def demarrer(self):
        if not shutil.which("cupsd") or not shutil.which("lpadmin"):
            self.raison = "cupsd ou lpadmin absent"
            return False
        if not os.path.exists("/usr/lib/cups/backend/cups-pdf"):
            self.raison = "imprimante cups-pdf absente (paquet printer-driver-cups-pdf)"
            return False
        d = self.dossier
        for s in ("etc", "spool/tmp", "state", "cache", "log"):
            os.makedirs(os.path.join(d, s), exist_ok=True)
        with open(os.path.join(d, "etc", "cupsd.conf"), "w") as f:
            f.write("LogLevel warn\nListen %s\nBrowsing No\nDefaultAuthType None\nWebInterface No\n"
                    "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                    "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
                    "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n" % self.socket)
        with open(os.path.join(d, "etc", "cups-files.conf"), "w") as f:
            f.write("ServerRoot {d}/etc\nRequestRoot {d}/spool\nTempDir {d}/spool/tmp\nStateDir {d}/state\n"
                    "CacheDir {d}/cache\nErrorLog {d}/log/error_log\nAccessLog {d}/log/access_log\n"
                    "PageLog {d}/log/page_log\nUser lp\nGroup lp\nSystemGroup root\nPrintcap {d}/printcap\n"
                    .format(d=d))
        self.proc = subprocess.Popen(["cupsd", "-f", "-c", os.path.join(d, "etc", "cupsd.conf"),
                                      "-s", os.path.join(d, "etc", "cups-files.conf")],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        for _ in range(100):
            if os.path.exists(self.socket):
                break
            if self.proc.poll() is not None:
                self.raison = "cupsd s'arrête : " + self.proc.stderr.read().decode(errors="replace").strip()
                return False
            time.sleep(0.1)
        else:
            self.raison = "cupsd ne crée pas sa prise"
            self.arreter()
            return False
        r = subprocess.run(["lpadmin", "-p", "PDF", "-v", "cups-pdf:/", "-E", "-m", PPD],
                           env=self.env(), capture_output=True, text=True)
        if r.returncode != 0:
            self.raison = "lpadmin : " + (r.stderr or r.stdout).strip()
            self.arreter()
            return False
        return True

    def env(self):
        e = dict(os.environ)
        e["CUPS_SERVER"] = self.socket
        return e

    def arreter(self):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
        self.proc = None
        shutil.rmtree(self.dossier, ignore_errors=True)


def dossier_pdf():
    """Where cups-pdf puts the files of the jobs of this account."""
    return os.path.join(pwd.getpwuid(os.getuid()).pw_dir, "PDF")
