"""An NTLM acceptor over gss-ntlmssp for tests: one exchange per input pair of lines.

stdin: the Base64 NEGOTIATE, then the Base64 AUTHENTICATE, one per line; a new NEGOTIATE
starts a new exchange. stdout: "CHALLENGE <base64>" after a NEGOTIATE, then "ACCEPTED <name>"
or "REFUSED <reason>" after an AUTHENTICATE. The users and passwords come from the file named
by NTLM_USER_FILE ("DOMAIN:user:password" lines).
"""
import base64
import sys

import gssapi

NTLM = gssapi.OID.from_int_seq('1.3.6.1.4.1.311.2.2.10')


def answer(text):
    sys.stdout.write(text + '\n')
    sys.stdout.flush()


def main():
    context = None
    for line in sys.stdin:
        token = base64.b64decode(line.strip())
        try:
            if context is None:
                credentials = gssapi.Credentials(usage='accept', mechs=[NTLM])
                context = gssapi.SecurityContext(creds=credentials, usage='accept')
                answer('CHALLENGE ' + base64.b64encode(context.step(token)).decode())
            else:
                context.step(token)
                answer('ACCEPTED ' + str(context.initiator_name) if context.complete else 'REFUSED incomplete')
                context = None
        except gssapi.exceptions.GSSError as error:
            answer('REFUSED ' + str(error).replace('\n', ' '))
            context = None


main()
