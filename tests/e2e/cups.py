"""A private CUPS server with the cups-pdf printer "PDF": its configuration, spool
and socket in a folder of the test's own; the system's CUPS is never touched."""
import os, pwd, shutil, subprocess, tempfile  # noqa: E401

from bureau import Indisponible, arreter, attendre

# cups-pdf writes to the job owner's ~/PDF, the home of the account as the system knows it.
PPD = "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"
SORTIE = os.path.join(pwd.getpwuid(os.getuid()).pw_dir, "PDF")
CUPSD_CONF = """LogLevel warn\nListen {d}/cups.sock\nBrowsing No\nDefaultAuthType None\nWebInterface No
<Location />\n  Order allow,deny\n  Allow all\n</Location>\n<Location /admin>\n  Order allow,deny\n  Allow all
</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n"""
FILES_CONF = """ServerRoot {d}/etc\nRequestRoot {d}/spool\nTempDir {d}/spool/tmp\nStateDir {d}/state
CacheDir {d}/cache\nErrorLog {d}/log/error_log\nAccessLog {d}/log/access_log\nPageLog {d}/log/page_log
User lp\nGroup lp\nSystemGroup root\nPrintcap {d}/printcap\n"""


class ServeurCups:
    def __init__(self):
        self.dossier, self.proc = None, None

    def demarrer(self):
        """Starts the server and adds the printer; returns its socket, or raises
        Indisponible with the reason."""
        if not shutil.which("cupsd") or not shutil.which("lpadmin"):
            raise Indisponible("cupsd ou lpadmin absent")
        if not os.path.exists("/usr/lib/cups/backend/cups-pdf"):
            raise Indisponible("imprimante cups-pdf absente (paquet printer-driver-cups-pdf)")
        d = self.dossier = tempfile.mkdtemp(prefix="ardemo-cups-")
        os.chmod(d, 0o755)  # the filters run as the lp account
        for s in ("etc", "spool/tmp", "state", "cache", "log"):
            os.makedirs(os.path.join(d, s))
        for nom, texte in (("cupsd.conf", CUPSD_CONF), ("cups-files.conf", FILES_CONF)):
            with open(os.path.join(d, "etc", nom), "w") as f:
                f.write(texte.format(d=d))
        self.proc = subprocess.Popen(["cupsd", "-f", "-c", d + "/etc/cupsd.conf", "-s", d + "/etc/cups-files.conf"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        socket = os.path.join(d, "cups.sock")
        if not attendre(lambda: os.path.exists(socket), 10) or self.proc.poll() is not None:
            raise Indisponible("cupsd ne démarre pas (code %s)" % self.proc.poll())
        r = subprocess.run(["lpadmin", "-p", "PDF", "-v", "cups-pdf:/", "-E", "-m", PPD],
                           env=dict(os.environ, CUPS_SERVER=socket), capture_output=True, text=True)
        if r.returncode:
            raise Indisponible("lpadmin : " + (r.stderr or r.stdout).strip())
        return socket

    def arreter(self):
        arreter(self.proc)
        if self.dossier:
            shutil.rmtree(self.dossier, ignore_errors=True)
