#pragma once
// The node's logs a report for help is tested on.
#include <string_view>

namespace zvkob::testing {

// A real log of the node (Debian's litecoind 0.21.2.1, on regtest, its data
// folder in "/tmp/zvkob-ltc/Jo Doe/node data", a wallet "savings" that mined
// blocks and sent coins, an addnode to 192.0.2.44): the end of one run, then
// a whole run with -logthreadnames, -logips and -debug=http,rpc, trimmed.
inline constexpr std::string_view real_node_log =
    R"log(2026-12-09T02:42:31Z [savings] AddToWallet 4c1a7ee2983be1975dbf97168e8c3d1b7744d2589c5ed8d53e8a8d2adbedc02a  newupdate
2026-12-09T02:42:31Z [savings] Submitting wtx 4c1a7ee2983be1975dbf97168e8c3d1b7744d2589c5ed8d53e8a8d2adbedc02a to mempool for relay
2026-12-09T02:42:31Z [savings] AddToWallet 4c1a7ee2983be1975dbf97168e8c3d1b7744d2589c5ed8d53e8a8d2adbedc02a  
2026-12-09T02:42:31Z UpdateTip: new best=ea21676a644f7e154589bb90d091e90446e87855f1721283d721ed93bdcad394 height=111 version=0x20000000 log2_work=7.807355 tx=113 date='2026-12-09T02:42:51Z' progress=1.000000 cache=0.0MiB(113txo)
2026-12-09T02:42:31Z [savings] AddToWallet f094d5abb2d68235c9381d04bce6d893de9c63bc6b7edc83b5b088fcdd611f5e  new
2026-12-09T02:42:31Z [savings] AddToWallet 4c1a7ee2983be1975dbf97168e8c3d1b7744d2589c5ed8d53e8a8d2adbedc02a  update
2026-12-09T02:42:31Z tor: Thread interrupt
2026-12-09T02:42:31Z Shutdown: In progress...
2026-12-09T02:42:31Z [savings] Releasing wallet
2026-12-09T02:42:31Z Shutdown: done





2026-12-09T02:44:55Z [init] Litecoin Core version v0.21.2.1-gfce5d459f0a83f56a83059c5c69295d7745b51d2 (release build)
2026-12-09T02:44:55Z [init] Setting nMinimumChainWork=0000000000000000000000000000000000000000000000000000000000000000
2026-12-09T02:44:55Z [init] Default data directory /root/.litecoin
2026-12-09T02:44:55Z [init] Using data directory /tmp/zvkob-ltc/Jo Doe/node data/regtest
2026-12-09T02:44:55Z [init] Config file: /tmp/zvkob-ltc/Jo Doe/node data/litecoin.conf (not found, skipping)
2026-12-09T02:44:55Z [init] Command-line arg: wallet="savings"
2026-12-09T02:44:55Z [init] Allowing HTTP connections from: 127.0.0.0/8 ::1/128 
2026-12-09T02:44:55Z [init] Binding RPC on address ::1 port 19543
2026-12-09T02:44:55Z [init] Binding RPC on address 127.0.0.1 port 19543
2026-12-09T02:44:55Z [init] Using random cookie authentication.
2026-12-09T02:44:55Z [init] Generated RPC authentication cookie /tmp/zvkob-ltc/Jo Doe/node data/regtest/.cookie
2026-12-09T02:44:55Z [init] Using wallet directory /tmp/zvkob-ltc/Jo Doe/node data/regtest/wallets
2026-12-09T02:44:55Z [init] Using wallet /tmp/zvkob-ltc/Jo Doe/node data/regtest/wallets/savings/wallet.dat
2026-12-09T02:44:55Z [init] BerkeleyEnvironment::Open: LogDir=/tmp/zvkob-ltc/Jo Doe/node data/regtest/wallets/savings/database ErrorFile=/tmp/zvkob-ltc/Jo Doe/node data/regtest/wallets/savings/db.log
2026-12-09T02:44:55Z [init] Using /16 prefix for IP bucketing
2026-12-09T02:44:55Z [init] Opening LevelDB in /tmp/zvkob-ltc/Jo Doe/node data/regtest/blocks/index
2026-12-09T02:44:55Z [init] Using obfuscation key for /tmp/zvkob-ltc/Jo Doe/node data/regtest/blocks/index: 0000000000000000
2026-12-09T02:44:55Z [init] Opening LevelDB in /tmp/zvkob-ltc/Jo Doe/node data/regtest/chainstate
2026-12-09T02:44:55Z [init] Using obfuscation key for /tmp/zvkob-ltc/Jo Doe/node data/regtest/chainstate: 61cc36a8f45c63a7
2026-12-09T02:44:55Z [init] Loaded best chain: hashBestChain=ea21676a644f7e154589bb90d091e90446e87855f1721283d721ed93bdcad394 height=111 date=2026-12-09T02:42:51Z progress=1.000000
2026-12-09T02:44:55Z [init] BerkeleyEnvironment::Open: LogDir=/tmp/zvkob-ltc/Jo Doe/node data/regtest/wallets/savings/database ErrorFile=/tmp/zvkob-ltc/Jo Doe/node data/regtest/wallets/savings/db.log
2026-12-09T02:44:55Z [init] [savings] Wallet File Version = 210000
2026-12-09T02:44:55Z [init] Bound to [::]:19544
2026-12-09T02:44:55Z [init] Bound to 0.0.0.0:19544
2026-12-09T02:44:55Z [init] Bound to 127.0.0.1:19444
2026-12-09T02:44:55Z [init] init message: Done loading
2026-12-09T02:44:56Z [scheduler] Leaving InitialBlockDownload (latching to false)
2026-12-09T02:45:02Z [http] Received a POST request for /wallet/savings from 127.0.0.1:47998
2026-12-09T02:45:02Z [httpworker.0] ThreadRPCServer method=getwalletinfo user=__cookie__ peeraddr=127.0.0.1:47998
2026-12-09T02:45:02Z [http] Received a POST request for / from 127.0.0.1:48008
2026-12-09T02:45:02Z [httpworker.1] ThreadRPCServer method=addnode user=__cookie__ peeraddr=127.0.0.1:48008
2026-12-09T02:45:05Z [httpworker.1] connect() to 192.0.2.44:19544 failed after select(): No route to host (113)
2026-12-09T02:45:05Z [http] Received a POST request for /wallet/savings from 127.0.0.1:48018
2026-12-09T02:45:05Z [httpworker.2] ThreadRPCServer method=generatetoaddress user=__cookie__ peeraddr=127.0.0.1:48018
2026-12-09T02:45:05Z [httpworker.2] UpdateTip: new best=13fc110af1b2353b00c7492f2872f084ddde6e9ea58baca0d4524985c6e603dd height=112 version=0x20000000 log2_work=7.820179 tx=114 date='2026-12-09T02:45:05Z' progress=1.000000 cache=0.0MiB(1txo)
2026-12-09T02:45:05Z [scheduler] [savings] AddToWallet 87edad7cf7dd4565f9cb9651859d5dcbfe93f68d63991e054d4a6a2666831dec  new
2026-12-09T02:45:05Z [httpworker.2] UpdateTip: new best=71d92f8736e96804fc0822a4a021e5515e26b0f9b46ead3b28c3eba10d868cbd height=113 version=0x20000000 log2_work=7.832890 tx=115 date='2026-12-09T02:45:05Z' progress=1.000000 cache=0.0MiB(2txo)
2026-12-09T02:45:05Z [scheduler] [savings] AddToWallet 842d13c1bfd2534921d8da2facefe1e5834cb6d102bb8cb2c5837f93e66a611c  new
2026-12-09T02:45:05Z [http] Received a POST request for /wallet/savings from 127.0.0.1:48024
2026-12-09T02:45:05Z [httpworker.3] ThreadRPCServer method=sendtoaddress user=__cookie__ peeraddr=127.0.0.1:48024
2026-12-09T02:45:05Z [httpworker.3] [savings] CommitTransaction:
CTransaction(hash=dea29a6114, ver=2, vin.size=1, vout.size=2, nLockTime=113)
    CTxIn(COutPoint(4c1a7ee298, 1), scriptSig=47304402207f518c7d8548cf, nSequence=4294967294)
    CScriptWitness()
    CTxOut(nValue=1.24997780, scriptPubKey=00147c827405e33a21cc512413da6a)
    CTxOut(nValue=0.25000000, scriptPubKey=76a9145b78f69f7dfa37113ba2696d)
2026-12-09T02:45:05Z [httpworker.3] [savings] AddToWallet dea29a6114e7b94cd5de637584a77e2ffdd2952b6377861d0112c40d7506b0a4  newupdate
2026-12-09T02:45:05Z [httpworker.3] [savings] Submitting wtx dea29a6114e7b94cd5de637584a77e2ffdd2952b6377861d0112c40d7506b0a4 to mempool for relay
2026-12-09T02:45:08Z [http] Received a POST request for / from 127.0.0.1:47350
2026-12-09T02:45:08Z [httpworker.0] ThreadRPCServer method=stop user=__cookie__ peeraddr=127.0.0.1:47350
2026-12-09T02:45:08Z [init] tor: Thread interrupt
2026-12-09T02:45:08Z [init] Shutdown: In progress...
2026-12-09T02:45:08Z [shutoff] [savings] Releasing wallet
2026-12-09T02:45:08Z [shutoff] Shutdown: done
)log";

// A made-up log of a node on Windows with one of each kind of item that
// identifies its user planted in it.
inline constexpr std::string_view planted_node_log =
    R"log(2027-01-14T08:00:00Z Bitcoin Core version v29.0.0 (release build)
2027-01-14T08:00:00Z Using data directory C:\Users\Jo Doe\AppData\Roaming\Bitcoin
2027-01-14T08:00:00Z Config file: C:\Users\Jo Doe\AppData\Roaming\Bitcoin\bitcoin.conf
2027-01-14T08:00:00Z Config file arg: rpcuser="jodoe"
2027-01-14T08:00:00Z Config file arg: rpcpassword="hunter2-secret"
2027-01-14T08:00:00Z Command-line arg: rpcauth="jo:f00dfeed$0123"
2027-01-14T08:00:00Z Setting file arg: wallet = ["Cold Storage"]
2027-01-14T08:00:00Z [warning] The option -rpcpassword=hunter2-secret is deprecated
2027-01-14T08:00:00Z Using blocks directory \\NAS-OF-JO\chainshare\btc\blocks
2027-01-14T08:00:00Z Opening LevelDB in D:\Node Files\chainstate
2027-01-14T08:00:01Z [net] Added connection to 203.0.113.77:8333 peer=1
2027-01-14T08:00:01Z [net] Added connection to [2001:db8:85a3::8a2e:370:7334]:8333 peer=2
2027-01-14T08:00:01Z [net] Added connection peer=3 addr=fe80::1c2b:3ff:fe4d:5e6f%eth0
2027-01-14T08:00:01Z [net] connection from ::ffff:198.51.100.23:51234 accepted
2027-01-14T08:00:01Z [tor] Got service ID pg6mmjiyjmcrsslvykfwnntlaru7p5svn6y2ymmju6nubxndf4pscryd, advertising service pg6mmjiyjmcrsslvykfwnntlaru7p5svn6y2ymmju6nubxndf4pscryd.onion:8333
2027-01-14T08:00:01Z [net] AddLocal(vww6ybal4bd7szmgncyruucpgfkqahzddi37ktceo3ah7ngmcopnpyyd.onion:8333,4)
2027-01-14T08:00:01Z [i2p] I2P: SAM session created: my_id=ab12, my address=ukeu3k5oycgaauneqgtnvselmt4yemvoilkln7jpvamvfx7dnkdq.b32.i2p:0
2027-01-14T08:00:02Z [Cold Storage] Wallet File Version = 169900
2027-01-14T08:00:02Z [msghand] [Cold Storage] Setting spkMan to active: id = 3a4b5c6d7e8f90a1b2c3d4e5f60718293a4b5c6d7e8f90a1b2c3d4e5f6071829, type = bech32, internal = false
2027-01-14T08:00:02Z Using wallet C:\Users\Jo Doe\AppData\Roaming\Bitcoin\wallets\Cold Storage\wallet.dat
2027-01-14T08:00:02Z [Cold Storage] AddToWallet 7e2a9b3c4d5e6f708192a3b4c5d6e7f8091a2b3c4d5e6f708192a3b4c5d6e7f8  new
2027-01-14T08:00:02Z [Cold Storage] Received payment to bc1qar0srrr7xfkvy5l643lydnw9re59gtzzwf5mdq and 3J98t1WpEZ73CNmQviecrnyiWrnqRhWNLy
2027-01-14T08:00:02Z [default wallet] Sent to 1BvBMSEYstWetqTFn5Au4m4GFg7xJaNVN2, tb1qw508d6qejxtdg4y5r3zarvary0c5xw7kxpjzsx, ltc1qg82wzjvstx2yyd4jkmpgyjksxmjfqwn3u2nmkg, MQMcJhpWHYVeQArcZR3sBgyPZxxRtnH441 and DH5yaieqoZN36fDVciNyRueRGvGLR3mr7L
2027-01-14T08:00:02Z loadwallet: Wallet file verification failed. Failed to load database path 'C:\Users\Jo Doe\AppData\Roaming\Bitcoin\wallets\Hot Wallet'. Path does not exist.
2027-01-14T08:00:02Z [http] Received a POST request for /wallet/Hot%20Wallet from 127.0.0.1:50000
2027-01-14T08:00:03Z importdescriptors: wpkh([d34db33f/84h/0h/0h]xpub6DJ2dNUysrn5Vt36jH2KLBT2i1auw1tTSSomg8PhqNiUtx8QX2SvC9nrHu81fT41fvDUnhMjEzQgXnQjKEu3oaqMSzhSrHMxyyoEAmUHQbY/0/*)#cjjspncu failed
2027-01-14T08:00:03Z Imported tprv8ZgxMBicQKsPd7Uf69XL1XwhmjHopUGep8GuEiJDZmbQz6o58LninorQAfcKZWARbtRtfnLcJ5MQ2AtHcQJCCRUcMRvmDUjyEmNUWwx8UbK
2027-01-14T08:00:03Z Dumped the private key cVt4o7BGAig1UXywgGSmARhxMdzP5qvQsxKkSsc1XEkw3tDTQFpy
2027-01-14T08:00:03Z Error: File C:/Users/Jo Doe/Documents/node backups/w.dat is in use
2027-01-14T08:00:04Z UpdateTip: new best=00000000000000000001a0a448d6cf2546b06801389cc030b2b18c6491266815 height=870000 version=0x20000000 log2_work=95.6 tx=1 date='2027-01-14T07:59:00Z' progress=1.000000 cache=1.0MiB(1txo)
2027-01-14T08:00:04Z [validation] ERROR: ConnectBlock: inputs missing/spent in transaction 9f2c3a1b8e7d6c5b4a39281706f5e4d3c2b1a09f8e7d6c5b4a39281706f5e4d3, bad-txns-inputs-missingorspent
2027-01-14T08:00:05Z Using data directory /home/jodoe/.bitcoin/testnet3
2027-01-14T08:00:05Z Notes kept in ~/private stuff/jo-notes/node.log
2027-01-14T08:00:06Z Read __cookie__:4f2ab0c1d2e3f4a5b6c7d8e9f0a1b2c3d4e5f6a7b8c9d0e1f2a3b4c5d6e7f8a9
)log";

}  // namespace zvkob::testing
