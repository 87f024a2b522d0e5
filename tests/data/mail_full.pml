<?xml version="1.0" encoding="UTF-8"?>
<message>
  <id>
    <account>Robin Ashdown</account>
    <mapi>4A1B2C3D.dom1.po1.100.1.1.1@1</mapi>
    <class>GW.MESSAGE.MAIL</class>
  </id>
  <props>
    <core>
      <archived>false</archived>
      <notify-del>false</notify-del>
      <routed>false</routed>
      <routed-eol>false</routed-eol>
      <read>true</read>
      <private>FALSE</private>
      <notify-open>1</notify-open>
      <hidden>false</hidden>
      <opened>True</opened>
      <deleted>0</deleted>
      <convattach>false</convattach>
      <rev-no>3</rev-no>
      <reply-days-req>-2</reply-days-req>
      <reply-req>0</reply-req>
      <from>Ellis Fenwick</from>
      <subject>Quarterly figures &amp; plans</subject>
      <view>mail</view>
      <sharer email-type="NGW" email-address="pat.greer@example.org" address-type="2">Pat Greer</sharer>
      <sender email-type="SMTP" email-address="ellis.fenwick@example.org" address-type="x">Ellis Fenwick</sender>
      <date-create>20240312T091500</date-create>
      <date-modified>20240312T091700Z</date-modified>
      <boxtype>1</boxtype>
      <priority>1</priority>
      <enc-folders>
        <folder id="F1">Mailbox</folder>
        <folder>Finance</folder>
      </enc-folders>
      <recipients>
        <recipient display-name="Robin Ashdown" email-type="NGW" target-type="0">robin.ashdown@example.org</recipient>
        <recipient display-name="Sam Okafor" email-type="SMTP" target-type="1">sam.okafor@example.org</recipient>
        <recipient display-name="Lee Marsh" target-type="2">lee.marsh@example.org</recipient>
        <recipient display-name="Kit Darrow">kit.darrow@example.org</recipient>
      </recipients>
    </core>
    <fields>
      <field name="Project" type="1">Northwind</field>
      <field name="Agenda" type="4">eNpzTE/NS0m0UkgqTUlPLVEoSi3LTC3XUcjILMrMS1coyEnM0wMA4ecMjg==</field>
      <field name="Unset" type="1"/>
      <field name="Count">42</field>
    </fields>
    <body>
      <plain><![CDATA[Hello Robin,

the figures are attached. A marker: ]]&gt; stays]]&gt;]]&gt; here.
<Not a tag> & no entity.
]]></plain>
      <Properties>Mail properties text</Properties>
    </body>
    <attachments>
      <attach display-name="TEXT.htm" file-name="TEXT.htm">
        <content-ids><content-id>body.htm@01DA7420</content-id></content-ids>
        <![CDATA[eNolzYsJwjAQANBVjg6Qjx8EOYPS2j3S9poeNE28pIjbC/oWeLjUuDoc0vRxmF3PYRcqMCeBuhDM
LKXCa/dSScALwUBreivU2SHHAEXGWzPydOXoAxljVd7C3djucTkdjDq3tj8+rWkc6v+hf+EXn5cm
0g==]]>
      </attach>
      <attach display-name="IMAGE.001" file-name="image001.png">
        <content-ids>
          <content-id>image001.png@01DA7420.5C1F3E10</content-id>
          <content-id>second-id@example.org</content-id>
        </content-ids>
        <![CDATA[eNrrDPBz5+WS4mJgYOD19HAJAtKMIMzBBiTlRY90AgBOyARv]]>
      </attach>
      <attach display-name="Mime.822" file-name="Mime.822"><![CDATA[eNpzK8rPtVJwzcnJLFZwS80rz0zOVrBJBXH10iBch9SKxNyCnFS9/KJ0O16ukHwrhaD8pMw8Bcfi
jJT88jwFmyIQVy8RwkVTHlyalJWaXGKlEFiaWFSSWpRTqZCWmV5alFrMy8XL5QG0KV+HlwsAilou
Vw==]]></attach>
      <attach display-name="Header" file-name="Header"><![CDATA[eNoLSk1OzSxLTbFSSCvKz1XIrTDUS61IzC3ISdXLL0pXSKpUSC9HFuHl8k0tLk5MT9X1dLFSsDE0
MjZxQJK24+UCAKgVG3I=]]></attach>
      <attach display-name="Part.1" file-name="Part.1"><![CDATA[eNoLSCwqUcjPS1XIT1MoyUhVyE0tLk5MT9UDAGpJCIM=]]></attach>
      <attach display-name="report.txt" file-name="../report.txt" obj-type="1"><![CDATA[eNpdjTEOgkAURHsS7jCNLYnGSmNhLGzVGyzsIETc1b9/IZzGW3gBLuaindNN5uXNORpRSjdC+PCi
ebb7S57l2YU9XSSuwgHliPUCvqdAG+L5MxQ4yvSeXoRNw75Utl101w2WK5wowTu6Is8OPmhAUDPS
ou6Mbr8SF+9lgmCEqFtnOhhnMTDVqmF1S7AObcX5fOZNtK16Ccn4AaT4QhQ=]]></attach>
      <attach display-name="notes.txt" file-name="notes.txt"><![CDATA[eNpzTkx7qZCUmZNjpdCgYKqjMLmwNL8kNWUKAG1ECOs=]]></attach>
      <attach display-name="Fwd: Budget" obj-type="2">
        <msg>
          <id>
            <account>Robin Ashdown</account>
            <mapi>5B2C3D4E.dom1.po1.100.1.1.1@1</mapi>
            <class>GW.MESSAGE.MAIL.Forwarded</class>
          </id>
          <props>
            <core>
              <archived>false</archived><notify-del>false</notify-del><routed>false</routed>
              <routed-eol>false</routed-eol><read>false</read><private>false</private>
              <notify-open>false</notify-open><hidden>false</hidden><opened>false</opened>
              <deleted>false</deleted><convattach>false</convattach><rev-no>1</rev-no>
              <reply-days-req>0</reply-days-req><reply-req>0</reply-req>
              <from>Pat Greer</from><subject>Budget</subject><view>mail</view>
              <date-create>20240301T080000</date-create><date-modified>20240301T080000</date-modified>
              <boxtype>2</boxtype><priority>2</priority>
            </core>
            <body><plain><![CDATA[Budget draft attached.]]></plain></body>
            <attachments>
              <attach display-name="Part.2" file-name="part2.txt"><![CDATA[eNoLSCwqUcjPS1XIT1MoyUhVyE0tLk5MT9UDAGpJCIM=]]></attach>
            </attachments>
            <email>
              <completed>false</completed><delegated>false</delegated><notify-completed>false</notify-completed>
              <date-delivered>20240301T080500</date-delivered>
            </email>
          </props>
        </msg>
      </attach>
      <attach display-name="missing.doc" file-name="missing.doc"/>
    </attachments>
    <email>
      <completed>false</completed>
      <delegated>true</delegated>
      <notify-completed>false</notify-completed>
      <categories>
        <category primary="true">Finance</category>
        <category primary="0">Follow up</category>
      </categories>
      <personal-subject>Q1 numbers</personal-subject>
      <date-delivered>20240312T091600</date-delivered>
      <forwarded>false</forwarded>
      <replied>true</replied>
    </email>
  </props>
  <save-log date-saved="20240401T120000" status="2">
    <item type="1">Saved by the archiver</item>
    <item>Attachments compressed</item>
  </save-log>
</message>
