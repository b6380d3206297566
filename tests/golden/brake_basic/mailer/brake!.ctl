; Brake! configuration
Address 2:5020/9999
  Port COM2 ; the modem

ALIAS FILES
ALIAS ABOUT
ALIAS NODELIST
ALIAS TOOLS
TREE C:\FILES\
LogLevel 3
