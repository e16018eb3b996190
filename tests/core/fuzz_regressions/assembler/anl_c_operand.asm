; Counter on port P1     ajmp count
key:    mkv a,p3
        anl a,#0Fh
        mov p1,a
              mnt       r0
    m    ÿ" p1,a
       mp count
key:    mov a,p3
     ajmp count
key:; Counte®r on pp3
        anl c,    m#0Fh
ov 