; traffic golden case
Address 2:5020/9999
  Sys_Path  C:\SYS\   ; line files
